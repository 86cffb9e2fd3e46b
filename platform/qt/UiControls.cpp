// Child controls: labels, frames, group boxes, check boxes, text fields and track bars, with
// the notifications they send to their window.
#include <qdrawutil.h>

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>

#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

Handle SelfHandle(const QWidget* widget) {
    const Handle handle = reinterpret_cast<Handle>(widget);
    return Info(handle) != nullptr ? handle : 0;
}

// A command notification from a control to its window.
void NotifyCommand(const QWidget* control, std::uint32_t code) {
    const Handle self = SelfHandle(control);
    if (self == 0) return;
    const auto id = static_cast<std::uint32_t>(Info(self)->id);
    Notify(GetParent(self), WM_COMMAND, MakeWParam(id, code), self);
}

// Focus changes: the control's own procedure hears of them first, then a field tells its
// window. Focus lent to a popup menu is no change.
class FocusWatcher : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) return false;
        auto* widget = static_cast<QWidget*>(object);
        const Handle self = SelfHandle(widget);
        if (self == 0) return false;
        const bool gained = event->type() == QEvent::FocusIn;
        Notify(self, gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        if (Info(self) != nullptr && Info(self)->controlClass == ControlClass::Edit) {
            NotifyCommand(widget, gained ? EN_SETFOCUS : EN_KILLFOCUS);
        }
        return false;
    }
};

FocusWatcher* Watcher() {
    static auto* watcher = new FocusWatcher;
    return watcher;
}

// A rectangle that paints its edge and nothing inside: what its window draws there stays.
class FrameControl : public QFrame {
public:
    FrameControl(QWidget* parent, std::uint32_t style, std::uint32_t exStyle) : QFrame(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAutoFillBackground(false);
        if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
            setLineWidth(2);
        } else if ((exStyle & WS_EX_STATICEDGE) != 0) {
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
            setLineWidth(1);
        } else if ((style & WS_BORDER) != 0) {
            setFrameStyle(QFrame::Box | QFrame::Plain);
            setLineWidth(1);
            QPalette p = palette();
            p.setColor(QPalette::WindowText, Qt::black);
            setPalette(p);
        }
    }
};

// A group box: an etched rectangle with its caption over the top edge.
class GroupBoxControl : public QWidget {
public:
    explicit GroupBoxControl(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void SetTitle(const QString& title) {
        title_ = title;
        update();
    }
    const QString& Title() const { return title_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int top = metrics.height() / 2;
        qDrawShadeRect(&painter, 0, top, width(), height() - top, palette(), true, 1);
        if (title_.isEmpty()) return;
        const QString text = metrics.elidedText(title_, Qt::ElideRight, width() - 16);
        const QRect box(7, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
        painter.fillRect(box, palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(box, Qt::AlignCenter | Qt::TextShowMnemonic, text);
    }

private:
    QString title_;
};

// A check box that toggles itself when clicked anywhere in its rectangle.
class CheckBoxControl : public QCheckBox {
public:
    CheckBoxControl(QWidget* parent, std::uint32_t style) : QCheckBox(parent) {
        if ((style & BS_LEFTTEXT) != 0) setLayoutDirection(Qt::RightToLeft);
        connect(this, &QCheckBox::clicked, this, [this] { NotifyCommand(this, BN_CLICKED); });
    }

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
};

// A single-line field. Every change of its text, by typing, pasting or the program, tells the
// window EN_UPDATE then EN_CHANGE. Digits-only fields refuse typed non-digits silently; a
// character typed into a full field is refused with EN_MAXTEXT.
class EditControl : public QLineEdit {
public:
    EditControl(QWidget* parent, std::uint32_t style, std::uint32_t exStyle) : QLineEdit(parent) {
        digitsOnly_ = (style & ES_NUMBER) != 0;
        upper_ = (style & ES_UPPERCASE) != 0;
        lower_ = (style & ES_LOWERCASE) != 0;
        setFrame((exStyle & WS_EX_CLIENTEDGE) != 0);
        if ((style & ES_CENTER) != 0) {
            setAlignment(Qt::AlignCenter);
        } else if ((style & ES_RIGHT) != 0) {
            setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if ((style & ES_PASSWORD) != 0) setEchoMode(QLineEdit::Password);
        setReadOnly((style & ES_READONLY) != 0);
        setContextMenuPolicy(Qt::NoContextMenu);
        connect(this, &QLineEdit::textChanged, this, [this] {
            if (!settingText_) NotifyChange();
        });
    }

    void SetTextFromProgram(const QString& text) {
        settingText_ = true;
        setText(text);
        settingText_ = false;
        NotifyChange();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                           (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (typed && digitsOnly_) {
            for (const QChar c : text) {
                if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                    event->accept();
                    return;
                }
            }
        }
        if (typed && !isReadOnly() &&
            this->text().length() - selectedText().length() + text.length() > maxLength()) {
            NotifyCommand(this, EN_MAXTEXT);  // full: the character is refused
            event->accept();
            return;
        }
        if (typed && (upper_ || lower_) && !isReadOnly()) {
            insert(upper_ ? text.toUpper() : text.toLower());
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    void NotifyChange() {
        NotifyCommand(this, EN_UPDATE);
        NotifyCommand(this, EN_CHANGE);
    }

    bool digitsOnly_ = false;
    bool upper_ = false;
    bool lower_ = false;
    bool settingText_ = false;
};

// A track bar. Its positions run from the left or the top. Every scroll step tells the
// window WM_HSCROLL or WM_VSCROLL; the end of a drag or of a key press tells TB_ENDTRACK.
class TrackBarControl : public QSlider {
public:
    TrackBarControl(QWidget* parent, std::uint32_t style)
        : QSlider((style & TBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal, parent) {
        if (orientation() == Qt::Vertical) setInvertedAppearance(true);
        setRange(0, 100);
        setSingleStep(1);
        if ((style & TBS_AUTOTICKS) != 0 && (style & TBS_NOTICKS) == 0) {
            setTickInterval(1);
            if ((style & TBS_BOTH) != 0) {
                setTickPosition(QSlider::TicksBothSides);
            } else if ((style & TBS_TOP) != 0) {
                setTickPosition(QSlider::TicksAbove);
            } else {
                setTickPosition(QSlider::TicksBelow);
            }
        }
        UpdatePageStep();
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
            switch (action) {
                case SliderSingleStepAdd:
                    Scroll(TB_LINEDOWN);
                    break;
                case SliderSingleStepSub:
                    Scroll(TB_LINEUP);
                    break;
                case SliderPageStepAdd:
                    Scroll(TB_PAGEDOWN);
                    break;
                case SliderPageStepSub:
                    Scroll(TB_PAGEUP);
                    break;
                case SliderToMinimum:
                    Scroll(TB_TOP);
                    break;
                case SliderToMaximum:
                    Scroll(TB_BOTTOM);
                    break;
                case SliderMove:
                    Scroll(TB_THUMBTRACK);
                    break;
                default:
                    break;
            }
        });
    }

    void UpdatePageStep() { setPageStep(std::max(1, (maximum() - minimum()) / 5)); }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = true;
        QSlider::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool dragging = isSliderDown();
        QSlider::mouseReleaseEvent(event);
        if (pressed_ && event->buttons() == Qt::NoButton) {
            pressed_ = false;
            if (dragging) Scroll(TB_THUMBPOSITION);
            Scroll(TB_ENDTRACK);
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        const SliderAction action = ActionOf(event->key());
        if (action == SliderNoAction) {
            QSlider::keyPressEvent(event);
            return;
        }
        triggerAction(action);
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (ActionOf(event->key()) != SliderNoAction && !event->isAutoRepeat()) {
            Scroll(TB_ENDTRACK);
        }
        QSlider::keyReleaseEvent(event);
    }

private:
    // Keys move the position as on the original control, whatever the orientation.
    static SliderAction ActionOf(int key) {
        switch (key) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                return SliderSingleStepSub;
            case Qt::Key_Right:
            case Qt::Key_Down:
                return SliderSingleStepAdd;
            case Qt::Key_PageUp:
                return SliderPageStepSub;
            case Qt::Key_PageDown:
                return SliderPageStepAdd;
            case Qt::Key_Home:
                return SliderToMinimum;
            case Qt::Key_End:
                return SliderToMaximum;
            default:
                return SliderNoAction;
        }
    }

    void Scroll(std::uint32_t code) {
        const Handle self = SelfHandle(this);
        if (self == 0) return;
        const bool withPosition = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
        const auto position = static_cast<std::uint32_t>(withPosition ? sliderPosition() : 0);
        Notify(GetParent(self), orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL,
               MakeWParam(code, position), self);
    }

    bool pressed_ = false;
};

QLabel* MakeLabel(QWidget* parent, std::uint32_t style, std::uint32_t exStyle) {
    auto* label = new QLabel(parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setTextFormat(Qt::PlainText);
    const std::uint32_t type = style & SS_TYPEMASK;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (type == SS_CENTER) horizontal = Qt::AlignHCenter;
    if (type == SS_RIGHT) horizontal = Qt::AlignRight;
    label->setAlignment(horizontal |
                        ((style & SS_CENTERIMAGE) != 0 ? Qt::AlignVCenter : Qt::AlignTop));
    label->setWordWrap(type <= SS_RIGHT);
    if ((exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth((exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 1);
    }
    return label;
}

template <typename T>
T* As(Handle handle) {
    HandleInfo* info = Info(handle);
    return info == nullptr ? nullptr : dynamic_cast<T*>(info->widget.data());
}

struct FontHolder {
    QFont font;
};

}  // namespace

bool SetControlText(Handle control, std::string_view text) {
    HandleInfo* info = Info(control);
    if (info == nullptr) return false;
    const QString qtext = ToQString(text);
    QWidget* widget = info->widget.data();
    if (info->kind == HandleKind::StatusBar) return StatusBarSetTextInternal(control, 0, qtext);
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(qtext);
    } else if (auto* group = dynamic_cast<GroupBoxControl*>(widget)) {
        group->SetTitle(qtext);
    } else if (auto* check = dynamic_cast<QCheckBox*>(widget)) {
        check->setText(qtext);
    } else if (auto* edit = dynamic_cast<EditControl*>(widget)) {
        edit->SetTextFromProgram(qtext);
    } else {
        info->text = FromQString(qtext);  // frames and track bars keep a text they never show
    }
    return true;
}

std::string ControlText(Handle control) {
    HandleInfo* info = Info(control);
    if (info == nullptr) return {};
    QWidget* widget = info->widget.data();
    if (info->kind == HandleKind::StatusBar) return FromQString(StatusBarTextInternal(control, 0));
    if (auto* label = dynamic_cast<QLabel*>(widget)) return FromQString(label->text());
    if (auto* group = dynamic_cast<GroupBoxControl*>(widget)) return FromQString(group->Title());
    if (auto* check = dynamic_cast<QCheckBox*>(widget)) return FromQString(check->text());
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) return FromQString(edit->text());
    return info->text;
}

}  // namespace qtui

using namespace qtui;

Handle CreateControl(ControlClass kind, Handle parent, std::string_view text, std::uint32_t style,
                     std::uint32_t exStyle, std::int32_t x, std::int32_t y, std::int32_t width,
                     std::int32_t height, std::int32_t id) {
    HandleInfo* parentInfo = Info(parent);
    if (parentInfo == nullptr) return 0;
    QWidget* host = parentInfo->widget.data();
    const QString qtext = ToQString(text);
    QWidget* widget = nullptr;
    switch (kind) {
        case ControlClass::Static: {
            QLabel* label = MakeLabel(host, style, exStyle);
            label->setText(qtext);
            widget = label;
            break;
        }
        case ControlClass::Frame:
            widget = new FrameControl(host, style, exStyle);
            break;
        case ControlClass::Button:
            if ((style & BS_TYPEMASK) == BS_GROUPBOX) {
                auto* group = new GroupBoxControl(host);
                group->SetTitle(qtext);
                widget = group;
            } else {
                auto* check = new CheckBoxControl(host, style);
                check->setText(qtext);
                widget = check;
            }
            break;
        case ControlClass::Edit: {
            auto* edit = new EditControl(host, style, exStyle);
            {
                const QSignalBlocker quiet(edit);  // creation raises no notification
                edit->setText(qtext);
            }
            edit->setCursorPosition(0);
            widget = edit;
            break;
        }
        case ControlClass::TrackBar:
            widget = new TrackBarControl(host, style);
            break;
    }
    if ((style & WS_TABSTOP) == 0) {
        widget->setFocusPolicy(Qt::NoFocus);
    } else if (widget->focusPolicy() == Qt::NoFocus) {
        widget->setFocusPolicy(Qt::StrongFocus);
    }
    widget->installEventFilter(Watcher());
    widget->setFont(GuiFont());
    widget->setGeometry(x, y, std::clamp(width, 0, QWIDGETSIZE_MAX),
                        std::clamp(height, 0, QWIDGETSIZE_MAX));
    widget->setEnabled((style & WS_DISABLED) == 0);
    widget->setVisible((style & WS_VISIBLE) != 0);

    auto info = std::make_unique<HandleInfo>();
    info->kind = HandleKind::Control;
    info->controlClass = kind;
    info->widget = widget;
    info->style = style;
    info->exStyle = exStyle;
    info->id = id;
    if (kind == ControlClass::Frame || kind == ControlClass::TrackBar) {
        info->text = FromQString(qtext);
    }
    return Register(std::move(info));
}

Handle GetStockGuiFont() {
    UiInit();
    static FontHolder holder{GuiFont()};
    return reinterpret_cast<Handle>(&holder);
}

void SetControlFont(Handle control, Handle font) {
    HandleInfo* info = Info(control);
    if (info == nullptr || font != GetStockGuiFont()) return;
    info->widget->setFont(reinterpret_cast<FontHolder*>(font)->font);
}

bool GetControlPosition(Handle control, std::int32_t* x, std::int32_t* y) {
    HandleInfo* info = Info(control);
    if (info == nullptr) return false;
    *x = info->widget->x();
    *y = info->widget->y();
    return true;
}

void TrackBarSetRangeMin(Handle trackBar, std::int32_t minimum, bool redraw) {
    auto* bar = As<TrackBarControl>(trackBar);
    if (bar == nullptr) return;
    bar->setMinimum(minimum);
    bar->UpdatePageStep();
    if (redraw) bar->update();
}

void TrackBarSetRangeMax(Handle trackBar, std::int32_t maximum, bool redraw) {
    auto* bar = As<TrackBarControl>(trackBar);
    if (bar == nullptr) return;
    bar->setMaximum(maximum);
    bar->UpdatePageStep();
    if (redraw) bar->update();
}

std::int32_t TrackBarGetRangeMin(Handle trackBar) {
    auto* bar = As<TrackBarControl>(trackBar);
    return bar == nullptr ? 0 : bar->minimum();
}

std::int32_t TrackBarGetRangeMax(Handle trackBar) {
    auto* bar = As<TrackBarControl>(trackBar);
    return bar == nullptr ? 0 : bar->maximum();
}

void TrackBarSetPos(Handle trackBar, std::int32_t position, bool redraw) {
    auto* bar = As<TrackBarControl>(trackBar);
    if (bar == nullptr) return;
    bar->setValue(position);  // clamped into the range; raises no scroll notification
    if (redraw) bar->update();
}

std::int32_t TrackBarGetPos(Handle trackBar) {
    auto* bar = As<TrackBarControl>(trackBar);
    return bar == nullptr ? 0 : bar->value();
}

std::int32_t ButtonGetCheck(Handle button) {
    auto* check = As<QCheckBox>(button);
    return (check != nullptr && check->isChecked()) ? BST_CHECKED : BST_UNCHECKED;
}

void ButtonSetCheck(Handle button, std::int32_t state) {
    if (auto* check = As<QCheckBox>(button)) check->setChecked(state == BST_CHECKED);
}

}  // namespace platform
