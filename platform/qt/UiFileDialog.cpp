// The modal open-file dialog, on the toolkit's own (non-native) file dialog so that it looks
// and behaves the same everywhere.
#include "platform/UiFileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>

#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

std::function<std::string(const FileDialogView&)>& Answer() {
    static std::function<std::string(const FileDialogView&)> answer;
    return answer;
}

// The folder of the chosen file must exist (the file itself need not).
class OpenDialog : public QFileDialog {
public:
    OpenDialog(QWidget* parent, const QString& title, bool pathMustExist)
        : QFileDialog(parent, title), pathMustExist_(pathMustExist) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (pathMustExist_ && !files.isEmpty() &&
            !QFileInfo(files.first()).absoluteDir().exists()) {
            return;
        }
        QFileDialog::accept();
    }

private:
    bool pathMustExist_;
};

// "*.MAP" matches "wald.map" too, as file names do on the original system.
QString CaseInsensitiveMask(const QString& mask) {
    QString result;
    for (const QChar c : mask) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            result += c;
        }
    }
    return result;
}

// (label, masks) pairs from the zero-separated list, up to the first empty label.
QStringList NameFilters(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find('\0', start);
        const std::string part =
            list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty()) break;
        parts.push_back(part);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    QStringList filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        QStringList masks;
        for (const QString& mask :
             ToQString(parts[i + 1]).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            masks << CaseInsensitiveMask(mask.trimmed());
        }
        // The details in brackets are hidden: the label shows as the program wrote it.
        filters << ToQString(parts[i]) + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

FileDialogView ViewOf(const QFileDialog& dialog) {
    FileDialogView view;
    view.save = dialog.acceptMode() == QFileDialog::AcceptSave;
    view.title = FromQString(dialog.windowTitle());
    view.directory = FromQString(dialog.directory().absolutePath());
    if (const auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        view.fileName = FromQString(name->text());
    }
    if (const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < types->count(); ++i)
            view.filterLabels.push_back(FromQString(types->itemText(i)));
        view.selectedFilter = types->currentIndex();
    }
    return view;
}

bool RunFileDialog(OpenFileName& request, QFileDialog::AcceptMode mode) {
    UiInit();
    HandleInfo* owner = TopInfo(request.owner);
    OpenDialog dialog(owner != nullptr ? owner->top : nullptr, ToQString(request.title),
                      (request.flags & OFN_PATHMUSTEXIST) != 0);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(ToQString(request.defExt));
    dialog.setWindowModality(Qt::ApplicationModal);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int selected = request.filterIndex - 1;
        if (selected >= 0 && selected < filters.size()) dialog.selectNameFilter(filters[selected]);
    }
    QString folder = ToQString(request.initialDir);
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    dialog.setDirectory(folder.isEmpty() ? QDir::currentPath()
                                         : QDir::current().absoluteFilePath(folder));
    if (!request.file.empty()) dialog.selectFile(ToQString(request.file));
    // Room for the columns of the detail view, whose sizes, types and dates are otherwise cut.
    dialog.resize(720, 440);
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }

    if (Answer()) {
        QTimer::singleShot(0, &dialog, [&dialog] {
            const std::string answer = Answer()(ViewOf(dialog));
            if (!answer.empty()) {
                dialog.selectFile(ToQString(answer));
                dialog.accept();
            }
            if (dialog.isVisible()) dialog.reject();  // cancelled, or the answer was refused
        });
    }
    const int result = dialog.exec();
    ReactivateOwner(TopInfo(request.owner));
    if (result != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    const std::string path = FromQString(files.first());
    if (static_cast<std::int32_t>(path.size()) + 1 > request.maxFile) return false;
    request.file = path;
    return true;
}

}  // namespace
}  // namespace qtui

using namespace qtui;

bool GetOpenFileName(OpenFileName& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

bool GetSaveFileName(OpenFileName& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

void SetFileDialogAnswerForTesting(std::function<std::string(const FileDialogView&)> answer) {
    Answer() = std::move(answer);
}

}  // namespace platform
