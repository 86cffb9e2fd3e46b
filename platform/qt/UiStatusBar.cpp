// The status bar: a strip along the bottom of a window's client area, divided into sunken
// parts that end at given right edges, each with a text.
#include <qdrawutil.h>

#include <QPainter>

#include "platform/UiTesting.h"
#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

class StatusBarControl : public QWidget {
public:
    explicit StatusBarControl(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        setFont(GuiFont());
    }

    int BarHeight() const { return std::max(20, QFontMetrics(font()).height() + 8); }

    void Place() {
        const QWidget* parent = parentWidget();
        const int height = BarHeight();
        setGeometry(0, parent->height() - height, parent->width(), height);
        raise();
        update();
        ++placeCount;
    }

    std::vector<std::int32_t> rightEdges{-1};  // a new bar has one part over its whole width
    std::vector<QString> texts{QString()};
    std::int32_t placeCount = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        int left = 0;
        for (std::size_t i = 0; i < rightEdges.size(); ++i) {
            const int right = rightEdges[i] < 0 ? width() : std::min(rightEdges[i], width());
            if (right - left > 2) {
                const QRect part(left, 2, right - left - 2, height() - 2);
                qDrawShadePanel(&painter, part, palette(), true, 1);
                painter.drawText(part.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                                 texts[i]);
            }
            left = right;
        }
    }
};

StatusBarControl* Bar(Handle handle) {
    HandleInfo* info = Info(handle);
    if (info == nullptr || info->kind != HandleKind::StatusBar) return nullptr;
    return static_cast<StatusBarControl*>(info->widget.data());
}

}  // namespace

bool StatusBarSetTextInternal(Handle statusBar, std::int32_t part, const QString& text) {
    StatusBarControl* bar = Bar(statusBar);
    if (bar == nullptr || part < 0 || part >= static_cast<std::int32_t>(bar->texts.size())) {
        return false;
    }
    bar->texts[static_cast<std::size_t>(part)] = text;
    bar->update();
    return true;
}

QString StatusBarTextInternal(Handle statusBar, std::int32_t part) {
    StatusBarControl* bar = Bar(statusBar);
    if (bar == nullptr || part < 0 || part >= static_cast<std::int32_t>(bar->texts.size())) {
        return {};
    }
    return bar->texts[static_cast<std::size_t>(part)];
}

}  // namespace qtui

using namespace qtui;

Handle CreateStatusBar(Handle parent, std::int32_t id) {
    HandleInfo* parentInfo = TopInfo(parent);
    if (parentInfo == nullptr) return 0;
    auto* bar = new StatusBarControl(parentInfo->widget.data());
    bar->setFocusPolicy(Qt::NoFocus);
    bar->Place();
    bar->placeCount = 0;
    bar->show();
    auto info = std::make_unique<HandleInfo>();
    info->kind = HandleKind::StatusBar;
    info->widget = bar;
    info->style = WS_CHILD | WS_VISIBLE;
    info->id = id;
    return Register(std::move(info));
}

bool StatusBarSetParts(Handle statusBar, const std::int32_t* rightEdges, std::int32_t count) {
    StatusBarControl* bar = Bar(statusBar);
    if (bar == nullptr || count < 1 || rightEdges == nullptr) return false;
    bar->rightEdges.assign(rightEdges, rightEdges + count);
    bar->texts.resize(static_cast<std::size_t>(count));
    bar->update();
    return true;
}

bool StatusBarSetText(Handle statusBar, std::int32_t part, std::string_view text) {
    return StatusBarSetTextInternal(statusBar, part, ToQString(text));
}

std::int32_t StatusBarPartCount(Handle statusBar) {
    StatusBarControl* bar = Bar(statusBar);
    return bar == nullptr ? 0 : static_cast<std::int32_t>(bar->rightEdges.size());
}

std::int32_t StatusBarRightEdge(Handle statusBar, std::int32_t part) {
    StatusBarControl* bar = Bar(statusBar);
    if (bar == nullptr || part < 0 || part >= static_cast<std::int32_t>(bar->rightEdges.size())) {
        return 0;
    }
    return bar->rightEdges[static_cast<std::size_t>(part)];
}

void StatusBarPlace(Handle statusBar) {
    if (StatusBarControl* bar = Bar(statusBar)) bar->Place();
}

std::int32_t StatusBarPlaceCount(Handle statusBar) {
    StatusBarControl* bar = Bar(statusBar);
    return bar == nullptr ? 0 : bar->placeCount;
}

}  // namespace platform

namespace platform {

std::string StatusBarPartText(Handle statusBar, std::int32_t part) {
    return qtui::FromQString(qtui::StatusBarTextInternal(statusBar, part));
}

}  // namespace platform
