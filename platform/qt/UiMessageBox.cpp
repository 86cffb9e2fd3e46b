// The message box on the toolkit's own, with the program's texts on its buttons. Every button
// has the same role, so they stand in the order given; Return and Escape are set explicitly.
#include "platform/UiMessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

std::function<std::int32_t(const MessageBoxView&)>& Answer() {
    static std::function<std::int32_t(const MessageBoxView&)> answer;
    return answer;
}

std::int32_t IndexOf(const std::vector<QPushButton*>& buttons, const QAbstractButton* button) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == button) return static_cast<std::int32_t>(i);
    }
    return -1;
}

MessageBoxView ViewOf(const QMessageBox& box, const std::vector<QPushButton*>& buttons) {
    MessageBoxView view;
    view.title = FromQString(box.windowTitle());
    view.text = FromQString(box.text());
    for (const QPushButton* button : buttons) view.buttons.push_back(FromQString(button->text()));
    view.defaultButton = IndexOf(buttons, box.defaultButton());
    view.escapeButton = IndexOf(buttons, box.escapeButton());
    return view;
}

void PressKey(QMessageBox& box, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &press);
}

}  // namespace
}  // namespace qtui

using namespace qtui;

std::int32_t ShowMessageBox(const MessageBoxRequest& request) {
    UiInit();
    if (request.buttons.empty()) return -1;
    HandleInfo* owner = TopInfo(request.owner);
    QMessageBox box(owner != nullptr ? owner->top : nullptr);
    box.setFont(GuiFont());
    box.setWindowTitle(ToQString(request.title));
    box.setText(ToQString(request.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::Question);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<QPushButton*> buttons;
    for (const std::string& text : request.buttons) {
        buttons.push_back(box.addButton(ToQString(text), QMessageBox::ActionRole));
    }
    const auto button = [&](std::int32_t index) {
        return index >= 0 && index < static_cast<std::int32_t>(buttons.size())
                   ? buttons[static_cast<std::size_t>(index)]
                   : nullptr;
    };
    box.setDefaultButton(button(request.defaultButton));
    // Without an escape button the box cannot be closed by Escape or its close box.
    box.setEscapeButton(static_cast<QAbstractButton*>(button(request.escapeButton)));

    if (Answer()) {
        QTimer::singleShot(0, &box, [&] {
            const std::int32_t answer = Answer()(ViewOf(box, buttons));
            if (answer == kPressReturn) {
                PressKey(box, Qt::Key_Return);
            } else if (answer == kPressEscape) {
                PressKey(box, Qt::Key_Escape);
            } else if (QPushButton* chosen = button(answer)) {
                chosen->click();
            }
        });
    }
    box.exec();
    ReactivateOwner(TopInfo(request.owner));
    return IndexOf(buttons, box.clickedButton());
}

void SetMessageBoxAnswerForTesting(std::function<std::int32_t(const MessageBoxView&)> answer) {
    Answer() = std::move(answer);
}

}  // namespace platform
