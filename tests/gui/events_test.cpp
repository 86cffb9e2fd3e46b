// What a user's input turns into: event codes of clicks, double clicks, buttons, keys and
// the close box; ENTER as a shortcut; digits-only fields; text changes; focus and Tab; track
// bar drags and check box clicks.
#include <functional>

#include "GuiFixture.h"
#if GUI_TESTS_ON_QT
#include <QLineEdit>

#include "support/qt/Widgets.h"
#endif
#include "platform/Ui.h"

namespace testing_support {
namespace {

TEST_F(GuiTest, UserInputGivesTheseEventCodes) {
    OpenWindow();
    const Point spot(50, 40);
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<int> codes;
    };
    const std::vector<Case> cases = {
        {"left click", [&] { Click(0, spot); }, {513, 514}},
        {"double click", [&] { DoubleClick(0, spot); }, {513, 514, 515, 514}},
        {"right press", [&] { Press(0, spot, Button::Right); }, {516}},
        {"right release", [&] { Release(0, spot, Button::Right); }, {517}},
        {"key", [] { Key(0, 'A'); }, {256, 258, 257}},
        {"mouse move", [] { MouseMove(0, Point(60, 45)); }, {512}},
        // The close box asks through the system command; the window stays open.
        {"close box", [] { CloseBox(0); }, {274, gui::EVENT_CLOSE}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseMove(0, spot);
        DrainCodes();
        c.act();
        EXPECT_EQ(DrainCodes(), c.codes);
    }
    EXPECT_TRUE(platform::IsWindowVisible(gui::WindowHandleOf(0)));
}

TEST_F(GuiTest, MouseMessagesTellTheButtonsTheModifiersAndTheWheelsTurn) {
    OpenWindow();
    const Point spot(50, 40);
    struct Case {
        const char* what;
        std::function<void()> act;
        int code;
        int modifiers;
        int held;   // MOUSE_ bits in the low half of the first parameter
        int delta;  // the high half, signed
    };
    const std::vector<Case> cases = {
        {"Umschalt + click", [&] { Click(0, spot, Button::Left, kShift); },
         gui::EVENT_LEFT_DOWN, gui::KEY_SHIFT, gui::MOUSE_LEFT_HELD | 0x04, 0},  // MK_SHIFT
        {"Alt + click", [&] { Click(0, spot, Button::Left, kAlt); },
         gui::EVENT_LEFT_DOWN, gui::KEY_ALT, gui::MOUSE_LEFT_HELD, 0},
        {"middle click", [&] { Click(0, spot, Button::Middle); }, gui::EVENT_MIDDLE_DOWN, 0,
         gui::MOUSE_MIDDLE_HELD, 0},
        {"wheel towards the user", [&] { Wheel(0, spot, -120); }, gui::EVENT_MOUSE_WHEEL, 0, 0,
         -120},
        {"Strg + wheel", [&] { Wheel(0, spot, 240, kControl); }, gui::EVENT_MOUSE_WHEEL,
         gui::KEY_CONTROL, 0x08, 240},  // MK_CONTROL as well
        // The toolkit counts a turn to the left as positive, the message a turn to the right.
        {"horizontal wheel to the left", [&] { Wheel(0, spot, 120, {}, true); },
         gui::EVENT_MOUSE_HWHEEL, 0, 0, -120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MouseMove(0, spot);
        DrainCodes();
        c.act();
        ProcessEventsFor(0);
        ASSERT_EQ(gui::WindowEventFetch(0), c.code);
        EXPECT_EQ(gui::WindowEventModifiers(), c.modifiers);
        EXPECT_EQ(gui::WindowEventParam1() & 0xFFFF, c.held);
        EXPECT_EQ(gui::WindowEventWheelDelta(), c.delta);
        EXPECT_EQ(gui::WindowEventWindow(), 0);
        DrainCodes();
    }
}

TEST_F(GuiTest, InputToAControlBelongsToTheWindowThatHoldsIt) {
    OpenWindow();
    ASSERT_NE(gui::WindowOpen(1, 500, 0, 200, 200, "Zwei", 0xCA0000), 0);
    ASSERT_TRUE(WaitForWindow(1));
    gui::GadgetListCreate(gui::WindowHandleOf(1));
    ASSERT_NE(gui::GadgetCheckBox(3, 10, 10, 150, 32, "Box"), 0);  // a press notifies nothing
    Settle();
    MouseMove(0, Point(50, 40));
    ASSERT_EQ(gui::WindowEventFetch(0), gui::EVENT_MOUSE_MOVE);
    ASSERT_EQ(gui::WindowEventWindow(), 0);
    Press(1, GadgetCentre(3));
    std::int32_t code = 0;
    while ((code = gui::WindowEventFetch(0)) == gui::EVENT_MOUSE_MOVE) {
    }
    ASSERT_EQ(code, gui::EVENT_LEFT_DOWN);
    EXPECT_EQ(gui::WindowEventWindow(), 1);
}

TEST_F(GuiTest, DoubleClickNeedsTheSameSpotWithinTwoPixels) {
    OpenWindow();
    struct Case {
        Point second;
        int code;
    };
    for (const Case& c : {Case{{102, 100}, 515}, Case{{103, 100}, 513}, Case{{100, 98}, 515},
                          Case{{100, 97}, 513}}) {
        MouseMove(0, Point(100, 100));
        Click(0, Point(100, 100));
        NextPressWithinDoubleClickTime(true);
        Press(0, c.second);
        Release(0, c.second);
        const std::vector<int> codes = DrainWithoutMoves();
        ASSERT_EQ(codes.size(), 4u);
        EXPECT_EQ(codes[2], c.code) << c.second.x() << "," << c.second.y();
        NextPressWithinDoubleClickTime(false);
    }
}

TEST_F(GuiTest, EnterInAFocusedFieldIsMenuItemFourAndNeverReachesTheField) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    ASSERT_NE(gui::GadgetString(18, 20, 20, 200, 20, "Neue Karte"), 0);
    ASSERT_NE(gui::WindowAddShortcut(0, 13, 4), 0);
#if GUI_TESTS_ON_QT  // the toolkit's own signal of the field
    bool returnPressed = false;
    QObject::connect(static_cast<QLineEdit*>(GadgetWidget(18)), &QLineEdit::returnPressed,
                     [&] { returnPressed = true; });
#endif
    ClickGadget(0, 18);
    DrainCodes();  // the field takes the focus as it takes the click
    ASSERT_EQ(platform::GetFocus(), gui::GadgetHandleOf(18));

    Key(0, gui::KEYCODE_ENTER);
    const std::vector<Fetched> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].code, gui::EVENT_MENU);
    EXPECT_EQ(events[0].object, 4);
    EXPECT_EQ(events[1].code, 257);  // the key's release
#if GUI_TESTS_ON_QT
    EXPECT_FALSE(returnPressed);
#endif
    EXPECT_EQ(gui::GadgetGetText(18), "Neue Karte");
}

TEST_F(GuiTest, DigitsOnlyFieldRefusesALetterWithoutAnEvent) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    ASSERT_NE(gui::GadgetString(14, 20, 20, 65, 20, "64", gui::STRING_DIGITS_ONLY), 0);
    ClickGadget(0, 14);
    Key(0, kKeyEnd);
    DrainCodes();

    Key(0, 'A');
    EXPECT_EQ(DrainCodes(), (std::vector<int>{256, 258, 257}));
    EXPECT_EQ(gui::GadgetGetText(14), "64");

    Key(0, '7');
    const std::vector<Fetched> events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1], (Fetched{gui::EVENT_GADGET, 14, gui::EVENT_TYPE_CHANGE}));
    EXPECT_EQ(gui::GadgetGetText(14), "647");

    // Text the program sets is taken as it is.
    gui::GadgetSetText(14, "x1");
    EXPECT_EQ(gui::GadgetGetText(14), "x1");
}

TEST_F(GuiTest, AFullFieldRefusesTypingAndSaysSo) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetString(18, 20, 20, 200, 20, "");
    const std::string full(32767, '1');
    gui::GadgetSetText(18, full);
    ClickGadget(0, 18);
    DrainCodes();
    Key(0, '2');
    const std::vector<Fetched> events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1], (Fetched{gui::EVENT_GADGET, 18, 1281}));
    EXPECT_EQ(gui::GadgetGetText(18), full);
}

TEST_F(GuiTest, SetTextRecordsAChangeThatTheNextFetchReturnsWithoutAType) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetString(14, 20, 20, 65, 20, "1", gui::STRING_DIGITS_ONLY);
    gui::GadgetText(3, 20, 60, 100, 20, "Feldbreite in Pixel:");
    gui::GadgetFrame(2, 10, 100, 200, 80, "Rahmen");
    DrainCodes();

    gui::GadgetSetText(14, "1");  // the same text still notifies
    MouseMove(0, Point(30, 30));
    EXPECT_EQ(gui::WindowEventFetch(0), gui::EVENT_GADGET);
    EXPECT_EQ(gui::WindowEventGadget(), 14);
    EXPECT_EQ(gui::WindowEventType(), -1);

    // Labels and frames change silently.
    gui::GadgetSetText(3, "Feldhöhe");
    gui::GadgetSetText(2, "Eigenschaften");
    MouseMove(0, Point(31, 30));
    EXPECT_EQ(gui::WindowEventFetch(0), gui::EVENT_MOUSE_MOVE);
    EXPECT_EQ(gui::WindowEventGadget(), 14);  // the last gadget event's number stays
    EXPECT_EQ(gui::WindowEventType(), -1);
}

TEST_F(GuiTest, QueuedEventsComeFirstAndClearAPendingNotification) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetString(14, 20, 20, 65, 20, "1");
    DrainCodes();
    platform::SendMessage(gui::WindowHandleOf(0), platform::WM_MOVE, 0, 0);  // queues 3
    gui::GadgetSetText(14, "2");
    MouseMove(0, Point(30, 30));
    EXPECT_EQ(DrainCodes(), (std::vector<int>{gui::EVENT_MOVE, gui::EVENT_MOUSE_MOVE}));
}

TEST_F(GuiTest, FieldFocusGivesThePlatformNotificationThenAPostedOne) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetString(14, 20, 20, 65, 20, "");
    gui::GadgetString(15, 20, 50, 65, 20, "");
    ClickGadget(0, 14);
    MouseMove(0, GadgetCentre(15));
    DrainCodes();

    ClickGadget(0, 15);
    std::vector<Fetched> events = Drain();
    // The press moved the focus: the last notification of its dispatch is the gain (256);
    // the posted notifications follow as events of their own, before the waiting release.
    const std::vector<Fetched> expected = {{gui::EVENT_GADGET, 15, 256},
                                           {gui::EVENT_GADGET, 14, gui::EVENT_TYPE_LOST_FOCUS},
                                           {gui::EVENT_GADGET, 15, gui::EVENT_TYPE_FOCUS},
                                           {514, 15, -1}};
    EXPECT_EQ(events, expected);
}

TEST_F(GuiTest, EventsTheLibraryQueuedComeFirstThenPostedMessagesThenInputThenAPaint) {
    OpenWindow();
    const platform::Handle window = gui::WindowHandleOf(0);
    DrainCodes();
    // In this order in time: the window system exposes the window, the user moves the mouse
    // and types, the library posts a notification and queues an event of its own.
    Expose(0);
    MouseMove(0, Point(30, 30));
    Key(0, 'A');
    platform::PostMessage(window, gui::GADGET_NOTIFY, 14, gui::EVENT_TYPE_FOCUS);
    platform::SendMessage(window, platform::WM_MOVE, 0, 0);
    const std::vector<Fetched> expected = {
        {gui::EVENT_MOVE, 0, -1},
        {gui::EVENT_GADGET, 14, gui::EVENT_TYPE_FOCUS},
        {512, 14, -1},
        {256, 14, -1},
        {258, 14, -1},
        {257, 14, -1},
        {gui::EVENT_REPAINT, 14, -1},  // the paint, then the erase it asked for
        {gui::EVENT_REPAINT, 14, -1}};
    EXPECT_EQ(Drain(), expected);
}

TEST_F(GuiTest, NoControlHasTheFocusAfterOpening) {
    // As the editor does it: the window opens, then its gadgets are created.
    ASSERT_NE(gui::WindowOpen(0, 0, 0, 300, 200, "t", 0xCA0001), 0);
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetString(18, 10, 10, 100, 20, "Neue Karte");
    ASSERT_TRUE(WaitForWindow(0));
    ProcessEventsFor(20);
    for (const Fetched& f : Drain()) EXPECT_NE(f.code, gui::EVENT_GADGET);
    EXPECT_EQ(platform::GetFocus(), gui::WindowHandleOf(0));
}

TEST_F(GuiTest, TabMovesTheFocusInCreationOrderSkippingDisabledAndHiddenControls) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetText(1, 10, 10, 100, 20, "Label");  // no tab stop
    gui::GadgetString(2, 10, 40, 60, 20, "");
    gui::GadgetString(3, 10, 70, 60, 20, "");
    gui::GadgetTrackBar(4, 10, 100, 200, 32, 0, 10, 1);
    gui::GadgetString(5, 10, 140, 60, 20, "");
    gui::GadgetCheckBox(6, 10, 170, 120, 32, "Z-Maske zeigen");
    platform::EnableWindow(gui::GadgetHandleOf(3), false);
    HideControl(gui::GadgetHandleOf(5));
    DrainCodes();

    const auto focused = [] {
        const platform::Handle focus = platform::GetFocus();
        for (int n = 1; n <= 6; ++n) {
            if (gui::GadgetHandleOf(n) == focus) return n;
        }
        return 0;
    };
    ASSERT_EQ(focused(), 0);
    std::vector<int> forward;
    // The focus moves when the program fetches the key, as every other shortcut.
    std::vector<Fetched> events;
    const auto press = [&](Modifiers modifiers) {
        Key(0, kKeyTab, modifiers);
        for (const Fetched& f : Drain()) events.push_back(f);
    };
    for (int i = 0; i < 4; ++i) {
        press({});
        forward.push_back(focused());
    }
    EXPECT_EQ(forward, (std::vector<int>{2, 4, 6, 2}));  // from none to the first, then around
    std::vector<int> backward;
    for (int i = 0; i < 4; ++i) {
        press(kShift);
        backward.push_back(focused());
    }
    EXPECT_EQ(backward, (std::vector<int>{6, 4, 2, 6}));
    // Tab raises no menu event of its own.
    for (const Fetched& f : events) EXPECT_NE(f.code, gui::EVENT_MENU);
}

TEST_F(GuiTest, TrackBarDragRaisesATypeZeroEventPerStepAndMoreAtTheEnd) {
    OpenWindow(760, 560);
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    ASSERT_NE(gui::GadgetTrackBar(24, 517, 480, 216, 32, 0, 31, gui::TRACKBAR_TICKS), 0);
    gui::GadgetString(23, 10, 10, 50, 20, "");
    DrainCodes();

    const Point start = TrackBarHandle(24, 0);
    const Point end = TrackBarHandle(24, 3);
    MouseMove(0, start);
    Press(0, start);
    DrainCodes();
    // Each move is taken before the next: moves that wait in the queue together may reach the
    // program as one (Windows merges them), as a fast drag does.
    std::vector<Fetched> during;
    for (int x = start.x() + 1; x <= end.x(); ++x) {
        MouseMove(0, Point(x, start.y()));
        for (const Fetched& f : Drain()) during.push_back(f);
    }
    Release(0, end);
    const std::vector<Fetched> after = Drain();

    const auto trackBarEvents = [](const std::vector<Fetched>& events) {
        return std::count(events.begin(), events.end(), Fetched{gui::EVENT_GADGET, 24, 0});
    };
    EXPECT_GE(trackBarEvents(during), 3);
    EXPECT_GE(trackBarEvents(after), 1);
    EXPECT_EQ(gui::GadgetGetState(24), 3);

    // The gadget number stays the event object across later events without a type.
    MouseMove(0, Point(20, 300));
    EXPECT_EQ(gui::WindowEventFetch(0), gui::EVENT_MOUSE_MOVE);
    EXPECT_EQ(gui::WindowEventGadget(), 24);
    EXPECT_EQ(gui::WindowEventType(), -1);
}

TEST_F(GuiTest, TrackBarKeysAndCheckBoxClicksRaiseTypeZeroEvents) {
    OpenWindow();
    gui::GadgetListCreate(gui::WindowHandleOf(0));
    gui::GadgetTrackBar(25, 10, 10, 216, 32, 1, 64, gui::TRACKBAR_TICKS);
    gui::GadgetCheckBox(27, 10, 60, 200, 32, "Z-Maske zeigen");
    DrainCodes();

    ClickGadget(0, 27);
    std::vector<Fetched> events = Drain();
    EXPECT_EQ(std::count(events.begin(), events.end(), Fetched{gui::EVENT_GADGET, 27, 0}), 1);
    EXPECT_EQ(gui::GadgetGetState(27), 1);
    Key(0, kKeySpace);  // the focus is on the check box now
    events = Drain();
    EXPECT_EQ(std::count(events.begin(), events.end(), Fetched{gui::EVENT_GADGET, 27, 0}), 1);
    EXPECT_EQ(gui::GadgetGetState(27), 0);

    Key(0, kKeyTab, kShift);  // to the track bar
    DrainCodes();
    Key(0, gui::KEYCODE_RIGHT);
    events = Drain();
    // One for the step, one for the end of the key press.
    EXPECT_EQ(std::count(events.begin(), events.end(), Fetched{gui::EVENT_GADGET, 25, 0}), 2);
    EXPECT_EQ(gui::GadgetGetState(25), 2);
}

}  // namespace
}  // namespace testing_support
