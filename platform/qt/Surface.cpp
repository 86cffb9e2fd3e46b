// The presentation surface on Qt Widgets: a child widget of the window's client widget that
// holds a copy of the last picture and paints it whenever the toolkit asks (uncovering,
// resizing, first show). An event filter on the client widget is the hook that follows the
// window's size for stretched pictures.
#include "platform/Surface.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <map>

#include "platform/QtApp.h"

namespace platform {

namespace {

class PresentationSurface : public QWidget {
public:
    explicit PresentationSurface(QWidget* client) : QWidget(client) {
        // The window underneath gets the mouse; the surface only shows pixels.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        client->installEventFilter(this);
        lower();  // controls placed over the picture stay visible
    }

    void Place(const PicturePlacement& placement) {
        placement_ = placement;
        attached_ = true;
        picture_ = QImage(std::max(placement.width, 1), std::max(placement.height, 1),
                          QImage::Format_RGB32);
        picture_.fill(Qt::black);
        FollowClient();
        if (isVisible()) repaint();
    }

    void Present(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                 std::int32_t pitch) {
        if (!attached_ || pixels == nullptr || width <= 0 || height <= 0) return;
        if (picture_.width() != width || picture_.height() != height) {
            picture_ = QImage(width, height, QImage::Format_RGB32);
            if (picture_.isNull()) return;
        }
        // The toolkit reads the fourth byte of a 32-bit RGB picture as opaque alpha.
        for (std::int32_t row = 0; row < height; ++row) {
            const std::uint32_t* from = pixels + static_cast<std::ptrdiff_t>(row) * pitch;
            auto* to = reinterpret_cast<std::uint32_t*>(picture_.scanLine(row));
            for (std::int32_t column = 0; column < width; ++column) {
                to[column] = from[column] | 0xFF000000u;
            }
        }
        if (isVisible()) repaint();
    }

    void Detach() {
        attached_ = false;
        picture_ = QImage();
        hide();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) FollowClient();
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        if (picture_.isNull()) return;
        QPainter painter(this);
        // No smoothing: a stretched picture repeats pixels, like a stretching blit.
        painter.drawImage(rect(), picture_);
    }

private:
    void FollowClient() {
        const QWidget* client = parentWidget();
        if (!attached_ || client == nullptr) {
            hide();
            return;
        }
        const PictureRect r = PlacePicture(placement_, client->width(), client->height());
        const std::int64_t w = static_cast<std::int64_t>(r.right) - r.left;
        const std::int64_t h = static_cast<std::int64_t>(r.bottom) - r.top;
        if (w <= 0 || h <= 0) {
            hide();
            return;
        }
        setGeometry(r.left, r.top, static_cast<int>(std::min<std::int64_t>(w, QWIDGETSIZE_MAX)),
                    static_cast<int>(std::min<std::int64_t>(h, QWIDGETSIZE_MAX)));
        show();
    }

    PicturePlacement placement_;
    bool attached_ = false;
    QImage picture_;
};

// The hook of each window, by window handle. A window's hook dies with the window.
std::map<std::intptr_t, QPointer<PresentationSurface>>& Hooks() {
    static std::map<std::intptr_t, QPointer<PresentationSurface>> hooks;
    return hooks;
}

PresentationSurface* FindHook(std::intptr_t window) {
    auto& hooks = Hooks();
    const auto found = hooks.find(window);
    if (found == hooks.end()) return nullptr;
    if (found->second.isNull()) {
        hooks.erase(found);
        return nullptr;
    }
    return found->second.data();
}

// The handle is an address; only a widget the toolkit knows is taken.
QWidget* LivingWidget(std::intptr_t window) {
    if (window == 0 || QApplication::instance() == nullptr) return nullptr;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        if (reinterpret_cast<std::intptr_t>(widget) == window) return widget;
    }
    return nullptr;
}

}  // namespace

bool DisplayAvailable() {
    EnsureApplication();
    return QGuiApplication::primaryScreen() != nullptr;
}

bool SurfaceAttach(std::intptr_t window, const PicturePlacement& placement) {
    PresentationSurface* surface = FindHook(window);
    if (surface == nullptr) {
        QWidget* client = LivingWidget(window);
        if (client == nullptr) return false;
        surface = new PresentationSurface(client);
        Hooks()[window] = surface;
    }
    surface->Place(placement);
    return true;
}

void SurfacePresent(std::intptr_t window, const std::uint32_t* pixels, std::int32_t width,
                    std::int32_t height, std::int32_t pitch) {
    if (PresentationSurface* surface = FindHook(window)) {
        surface->Present(pixels, width, height, pitch);
    }
}

void SurfaceDetach(std::intptr_t window) {
    if (PresentationSurface* surface = FindHook(window)) surface->Detach();
}

}  // namespace platform
