// Gadgets: creation rules, numbers, states, texts and positions.
#include "GuiFixture.h"
#if GUI_TESTS_ON_QT
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "support/qt/Widgets.h"
#endif
#include "platform/Ui.h"
#include "platform/UiControls.h"
#include "runtime/RtString.h"

namespace testing_support {
namespace {

class GadgetTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        OpenWindow(760, 560);
        gui::GadgetListCreate(gui::WindowHandleOf(0));
    }
};

TEST_F(GadgetTest, TrackBarStatesStartAtTheMinimumAndAreClamped) {
    struct Case {
        int minimum, maximum, flags;
        int initial;
        int set, got;
    };
    const Case cases[] = {
        {1, 64, 1, 1, 70, 64},  // starts at its minimum; clamped to the maximum
        {-5, 10, 0, 0, -3, 0},  // a negative minimum counts as 0
        {0, 31, 1, 0, 17, 17},
        {0, 10, 2, 0, 20, 10},  // vertical: mirrored before the control clamps
        {2, 8, 2, 2, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minimum);
        ASSERT_NE(gui::GadgetTrackBar(24, 517, 480, 216, 32, c.minimum, c.maximum, c.flags), 0);
        EXPECT_EQ(gui::GadgetGetState(24), c.initial);
        gui::GadgetSetState(24, c.set);
        EXPECT_EQ(gui::GadgetGetState(24), c.got);
    }
}

TEST_F(GadgetTest, ATrackBarsRangeCanChangeAndKeepsItsStateInside) {
    ASSERT_NE(gui::GadgetTrackBar(24, 517, 480, 216, 32, 0, 31, 1), 0);
    gui::GadgetSetState(24, 30);
    gui::GadgetSetRange(24, 0, 199);
    gui::GadgetSetState(24, 150);
    EXPECT_EQ(gui::GadgetGetState(24), 150);
    gui::GadgetSetRange(24, -4, 20);  // the state is held at the new end; below 0 counts as 0
    EXPECT_EQ(gui::GadgetGetState(24), 20);
    gui::GadgetSetState(24, -1);
    EXPECT_EQ(gui::GadgetGetState(24), 0);
    ASSERT_NE(gui::GadgetCheckBox(27, 525, 400, 200, 32, "Z"), 0);
    gui::GadgetSetState(27, 1);
    gui::GadgetSetRange(27, 0, 0);  // not a track bar: nothing
    EXPECT_EQ(gui::GadgetGetState(27), 1);
}

TEST_F(GadgetTest, VerticalTrackBarMirrorsItsPosition) {
    ASSERT_NE(gui::GadgetTrackBar(7, 10, 10, 32, 200, 0, 10, gui::TRACKBAR_VERTICAL), 0);
    const platform::Handle bar = gui::GadgetHandleOf(7);
    platform::TrackBarSetPos(bar, 3, true);
    EXPECT_EQ(gui::GadgetGetState(7), 7);
    gui::GadgetSetState(7, 2);
    EXPECT_EQ(platform::TrackBarGetPos(bar), 8);
    // The top end is the maximum.
#if GUI_TESTS_ON_QT  // the toolkit's own orientation property
    auto* slider = static_cast<QSlider*>(GadgetWidget(7));
    EXPECT_EQ(slider->orientation(), Qt::Vertical);
#endif
    EXPECT_LT(TrackBarHandle(7, 0).y(), TrackBarHandle(7, 10).y());
}

TEST_F(GadgetTest, CheckBoxStateIsOneOrZeroAndSettingRaisesNothing) {
    ASSERT_NE(gui::GadgetCheckBox(27, 525, 400, 200, 32, "Z-Maske zeigen"), 0);
    EXPECT_EQ(gui::GadgetGetState(27), 0);
    gui::GadgetSetState(27, 5);
    EXPECT_EQ(gui::GadgetGetState(27), 1);
    EXPECT_EQ(platform::ButtonGetCheck(gui::GadgetHandleOf(27)), 1);  // shown checked
    gui::GadgetSetState(27, 0);
    EXPECT_EQ(gui::GadgetGetState(27), 0);
    MouseMove(0, Point(5, 5));
    EXPECT_EQ(DrainCodes(), (std::vector<int>{gui::EVENT_MOUSE_MOVE}));
}

TEST_F(GadgetTest, KindsWithoutStateIgnoreItAndNumbersWithoutGadgetGiveNothing) {
    gui::GadgetText(3, 535, 43, 100, 20, "Feldbreite in Pixel:");
    gui::GadgetSetState(3, 9);
    EXPECT_EQ(gui::GadgetGetState(3), 0);
    EXPECT_EQ(gui::GadgetGetState(40), 0);
    EXPECT_EQ(gui::GadgetGetText(40), "");
    EXPECT_EQ(gui::GadgetX(40), 0);
    EXPECT_EQ(gui::GadgetY(40), 0);
    gui::GadgetSetText(40, "nothing");  // does nothing
}

TEST_F(GadgetTest, TextsOfEveryKindRoundTripInCp1252) {
    const std::string caption = runtime::Cp1252("Eigenschaften von Spieler 1");
    const std::string label = runtime::Cp1252("Feldhöhe in Pixel:");
    const std::string degrees = runtime::Cp1252("90°");
    gui::GadgetFrame(1, 520, 180, 230, 185, "");
    gui::GadgetText(4, 535, 63, 100, 20, label);
    gui::GadgetString(18, 535, 20, 200, 20, "Neue Karte");
    gui::GadgetText(13, 710, 325, 40, 20, "");
    gui::GadgetCheckBox(27, 525, 400, 200, 32, "Z-Maske zeigen");
    gui::GadgetFrame(0, 0, 0, 508, 508, "unsichtbar", 2);

    gui::GadgetSetText(1, caption);
    gui::GadgetSetText(13, degrees);
    EXPECT_EQ(gui::GadgetGetText(1), caption);
    EXPECT_EQ(gui::GadgetGetText(4), label);
    EXPECT_EQ(gui::GadgetGetText(18), "Neue Karte");
    EXPECT_EQ(gui::GadgetGetText(13), degrees);
    EXPECT_EQ(gui::GadgetGetText(27), "Z-Maske zeigen");
    EXPECT_EQ(gui::GadgetGetText(0), "unsichtbar");  // kept, never shown
    EXPECT_EQ(platform::GetWindowText(gui::GadgetHandleOf(4)), runtime::Cp1252("Feldhöhe in Pixel:"));
    EXPECT_EQ(platform::GetWindowText(gui::GadgetHandleOf(13)), runtime::Cp1252("90°"));
    gui::GadgetSetText(18, std::string_view{});
    EXPECT_EQ(gui::GadgetGetText(18), "");
}

TEST_F(GadgetTest, PositionsAreClientCoordinates) {
    gui::GadgetTrackBar(24, 517, 480, 216, 32, 0, 31, 1);
    gui::GadgetString(23, 703, 140, 32, 20, "", gui::STRING_DIGITS_ONLY);
    EXPECT_EQ(gui::GadgetX(24), 517);
    EXPECT_EQ(gui::GadgetY(24), 480);
    EXPECT_EQ(gui::GadgetX(23), 703);
    EXPECT_EQ(gui::GadgetY(23), 140);
    platform::Rect rect;
    ASSERT_TRUE(platform::GetWindowRect(gui::GadgetHandleOf(23), &rect));
    EXPECT_EQ(Point(rect.right - rect.left, rect.bottom - rect.top), Point(32, 20));
}

TEST_F(GadgetTest, ReusingANumberDestroysTheOldControl) {
    ASSERT_NE(gui::GadgetString(5, 10, 10, 60, 20, "alt"), 0);
    const std::size_t controls = platform::ChildWindows(gui::WindowHandleOf(0)).size();
    const std::intptr_t second = gui::GadgetText(5, 10, 40, 60, 20, "neu");
    ASSERT_NE(second, 0);
    EXPECT_EQ(platform::ChildWindows(gui::WindowHandleOf(0)).size(), controls);
    EXPECT_EQ(gui::GadgetHandleOf(5), second);
    EXPECT_EQ(gui::GadgetGetText(5), "neu");
    EXPECT_EQ(gui::GadgetY(5), 40);
}

TEST_F(GadgetTest, NumberMinusOneGivesAnIdentifierThatWorksAsTheNumber) {
    const std::intptr_t id = gui::GadgetString(-1, 10, 10, 60, 20, "a");
    ASSERT_LT(id, -1);
    const auto number = static_cast<std::int32_t>(id);
    gui::GadgetSetText(number, "b");
    EXPECT_EQ(gui::GadgetGetText(number), "b");
    const std::intptr_t bar = gui::GadgetTrackBar(-1, 10, 40, 100, 32, 3, 9, 0);
    ASSERT_LT(bar, -1);
    EXPECT_EQ(gui::GadgetGetState(static_cast<std::int32_t>(bar)), 3);
}

TEST_F(GadgetTest, RefusedCreationLeavesTheOldGadget) {
    const std::intptr_t old = gui::GadgetString(3, 10, 10, 60, 20, "bleibt");
    gui::GadgetListCreate(0);  // no window to go into
    EXPECT_EQ(gui::GadgetString(3, 10, 10, 60, 20, "neu"), 0);
    EXPECT_EQ(gui::GadgetHandleOf(3), old);
    EXPECT_EQ(gui::GadgetGetText(3), "bleibt");
}

TEST_F(GadgetTest, ClosingTheWindowFreesItsGadgets) {
    gui::GadgetString(3, 10, 10, 60, 20, "x");
    gui::GadgetTrackBar(4, 10, 40, 100, 32, 0, 5, 0);
    gui::WindowClose(0);
    EXPECT_EQ(gui::GadgetHandleOf(3), 0);
    EXPECT_EQ(gui::GadgetHandleOf(4), 0);
    EXPECT_EQ(gui::GadgetGetState(4), 0);
}

TEST_F(GadgetTest, FieldsAndFramesFollowTheirStyleFlags) {
    gui::GadgetString(1, 10, 10, 60, 20, "", 0);
    gui::GadgetString(2, 10, 40, 60, 20, "", 0x20000);  // no border
    gui::GadgetText(3, 10, 70, 60, 20, "x", 0x20000);   // sunken border
    gui::GadgetFrame(4, 10, 100, 60, 60, "Titel", 0);
#if GUI_TESTS_ON_QT  // the toolkit's own frame properties
    EXPECT_TRUE(static_cast<QLineEdit*>(GadgetWidget(1))->hasFrame());
    EXPECT_FALSE(static_cast<QLineEdit*>(GadgetWidget(2))->hasFrame());
    EXPECT_NE(static_cast<QLabel*>(GadgetWidget(3))->frameShape(), QFrame::NoFrame);
#endif
    EXPECT_EQ(gui::GadgetGetText(4), "Titel");
    // Fields, track bars and check boxes are tab stops; labels and frames are not.
    EXPECT_NE(platform::GetWindowStyle(gui::GadgetHandleOf(1)) & platform::WS_TABSTOP, 0u);
    EXPECT_EQ(platform::GetWindowStyle(gui::GadgetHandleOf(3)) & platform::WS_TABSTOP, 0u);
}

#if GUI_TESTS_ON_QT  // puts a toolkit widget of its own behind the frame and grabs it
TEST_F(GadgetTest, FramesDoNotPaintTheirInside) {
    // Something the window shows behind the frame, like the map view inside gadget 0.
    QWidget* client = HandleWidget(gui::WindowHandleOf(0));
    auto* behind = new QWidget(client);
    behind->setGeometry(20, 20, 100, 100);
    behind->setAutoFillBackground(true);
    QPalette palette = behind->palette();
    palette.setColor(QPalette::Window, Qt::red);
    behind->setPalette(palette);
    behind->show();
    for (int style : {1, 2, 3}) {
        SCOPED_TRACE(style);
        ASSERT_NE(gui::GadgetFrame(9, 10, 10, 120, 120, "", style), 0);
        const QImage image = client->grab(QRect(10, 10, 120, 120)).toImage();
        EXPECT_EQ(image.pixelColor(60, 60), QColor(Qt::red));
        EXPECT_NE(image.pixelColor(0, 60), image.pixelColor(5, 60));  // an edge is drawn
    }
}
#endif

}  // namespace
}  // namespace testing_support
