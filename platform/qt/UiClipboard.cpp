// The system clipboard: the program's own format and text, through the toolkit's clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/UiInternal.h"

namespace platform {

using namespace qtui;

namespace {

std::uint32_t gChanges = 0;

// Counts the clipboard's changes from the first question on.
void WatchClipboard() {
    static bool watching = false;
    if (watching) return;
    UiInit();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return;
    watching = true;
    QObject::connect(clipboard, &QClipboard::dataChanged, [] { ++gChanges; });
}

}  // namespace

bool ClipboardPut(std::string_view format, const std::string& data, std::string_view text) {
    WatchClipboard();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    auto* mime = new QMimeData;
    if (!data.empty()) {
        mime->setData(QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size())),
                      QByteArray(data.data(), static_cast<qsizetype>(data.size())));
    }
    mime->setText(ToQString(text));
    clipboard->setMimeData(mime);
    return true;
}

std::string ClipboardData(std::string_view format) {
    UiInit();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard == nullptr ? nullptr : clipboard->mimeData();
    if (mime == nullptr) return {};
    const QByteArray bytes =
        mime->data(QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size())));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::uint32_t ClipboardChangeCount() {
    WatchClipboard();
    return gChanges;
}

std::string ClipboardText() {
    UiInit();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard == nullptr ? std::string() : FromQString(clipboard->text());
}

}  // namespace platform
