// The desktop requesters: file, message and input dialogs on Qt, the font
// chooser (fontchooser_qt.cpp) and the Shift key.
#include "platform/requesters.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"

namespace platform {

namespace {

using qt::Q;
using qt::U;

QWidget* DialogParent() { return QApplication::activeWindow(); }

// The width a window needs for the window manager's title bar to show its
// title whole, within the screen's. The bar is drawn in the window manager's
// font, which the program cannot know: the system's title font in bold is as
// large as most, and a title centred between an icon and three buttons
// leaves out about 64 pixels on either side.
int TitleBarWidth(const QWidget& window)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    int width = QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 2 * 64;
    return std::min(width, window.screen()->availableGeometry().width());
}

// A message or input box takes the minimum width of its contents when shown:
// the row of buttons, which spans the box, is what is widened for its title.
// A box whose text is wider already is left as it is.
void KeepTitleWhole(QDialog& box)
{
    box.minimumSizeHint();  // an input box lays itself out here
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (!buttons || !box.layout())
        return;
    QMargins margins = box.layout()->contentsMargins();
    int wanted = TitleBarWidth(box) - margins.left() - margins.right();
    if (wanted > buttons->minimumSizeHint().width())
        buttons->setMinimumWidth(wanted);
}

// A Yes / No box has no way out but its two buttons: Escape and the close box
// would otherwise count as No, and "No" to "Do you want to save changes
// first?" quits without saving.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool AnswerRequired = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (AnswerRequired && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (AnswerRequired) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

// The position of the filter the dialog names: the whole filter, or only its
// label as the dialog shows it with the patterns hidden.
int FilterIndex(const QStringList& filters, const QString& shown)
{
    for (qsizetype i = 0; i < filters.size(); i++) {
        qsizetype open = filters[i].lastIndexOf(QLatin1String(" ("));
        if (filters[i] == shown || (open >= 0 && filters[i].left(open).trimmed() == shown.trimmed()))
            return int(i);
    }
    return -1;
}

// Icons and types for the file requesters from the names alone. Qt's own
// provider reads the first bytes of each file listed or typed to tell its
// type, on the program's thread, and some reads never return: /proc/kmsg
// waits for the kernel's next message, a named pipe for a writer. Only the
// folder's listing and a stat of each entry remain, and they do not block.
class NameOnlyIcons : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override
    {
        return icon(info.isRoot() ? Drive : info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QApplication::translate("QAbstractFileIconProvider", "Drive");
        if (info.isDir())
            return QApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms");
        // By the extension; a named pipe or a device by its kind.
        QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

class DesktopRequesters : public Requesters {
public:
    std::string OpenFile(const std::string& title, const std::string& start, const std::string& filter,
                         int filterPosition) override
    {
        return FileRequester(false, title, start, filter, filterPosition);
    }

    std::string SaveFile(const std::string& title, const std::string& start, const std::string& filter,
                         int filterPosition) override
    {
        return FileRequester(true, title, start, filter, filterPosition);
    }

    int SelectedFilter() override { return selectedFilter_; }

    MessageResult Message(const std::string& title, const std::string& text, MessageButtons buttons) override
    {
        MessageResult closed = buttons == MessageButtons::Ok      ? MessageResult::Ok
                               : buttons == MessageButtons::YesNo ? MessageResult::No
                                                                  : MessageResult::Cancel;
        if (!GuiRunning())
            return closed;
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        QMessageBox::StandardButton first = QMessageBox::Ok;
        if (buttons == MessageButtons::YesNo) {
            set = QMessageBox::Yes | QMessageBox::No;
            first = QMessageBox::Yes;
        } else if (buttons == MessageButtons::YesNoCancel) {
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            first = QMessageBox::Yes;
        }
        MessageBox box(QMessageBox::NoIcon, Q(title), Q(text), set, DialogParent());
        box.AnswerRequired = buttons == MessageButtons::YesNo;
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(first);
        KeepTitleWhole(box);
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok: return MessageResult::Ok;
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        default: return closed;
        }
    }

    std::string Input(const std::string& title, const std::string& prompt, const std::string& defaultText) override
    {
        if (!GuiRunning())
            return std::string();
        QInputDialog dialog(DialogParent());
        dialog.setWindowTitle(Q(title));
        dialog.setLabelText(Q(prompt));
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setTextValue(Q(defaultText));
        KeepTitleWhole(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::string();
        return U(dialog.textValue());
    }

    FontChoice ChooseFont(const std::string& face, int size, int style) override
    {
        return qt::RunFontChooser(face, size, style, DialogParent());
    }

    bool ShiftDown() override
    {
        if (!GuiRunning())
            return false;
        return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    }

private:
    std::string FileRequester(bool save, const std::string& title, const std::string& start,
                              const std::string& filter, int filterPosition)
    {
        QStringList filters = qt::FileFilters(filter);
        int position = filters.isEmpty() ? 0 : std::clamp(filterPosition, 0, int(filters.size()) - 1);
        selectedFilter_ = position;
        if (!GuiRunning())
            return std::string();

        // The start: a folder, a file name, or a folder and a pattern. The
        // process's current folder is never changed, only read.
        QString folder = QDir::currentPath(), name;
        QString startPath = Q(start);
        if (!startPath.isEmpty()) {
            QFileInfo info(startPath);
            if (info.isDir()) {
                folder = info.absoluteFilePath();
            } else {
                if (info.absoluteDir().exists())
                    folder = info.absolutePath();
                name = info.fileName();
                if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
                    name.clear();
            }
        }

        NameOnlyIcons icons;
        QFileDialog dialog(DialogParent(), Q(title), folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // Before the listing of the folder arrives and any name is looked up.
        dialog.setIconProvider(&icons);
        // The labels show as they were given, without their patterns.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (save)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters[position]);
        }
        if (!name.isEmpty())
            dialog.selectFile(name);

        for (;;) {
            int result = dialog.exec();
            int index = FilterIndex(filters, dialog.selectedNameFilter());
            if (index >= 0)
                selectedFilter_ = index;
            if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return std::string();
            QFileInfo chosen(dialog.selectedFiles().first());
            // A typed pattern names no file: the requester stays up.
            if (chosen.fileName().contains(QLatin1Char('*')) || chosen.fileName().contains(QLatin1Char('?')))
                continue;
            // The folder must exist; a file that does not exist is fine.
            if (QFileInfo(chosen.absolutePath()).isDir())
                return U(QDir::toNativeSeparators(chosen.absoluteFilePath()));
            QMessageBox box(QMessageBox::Warning, Q(title),
                            QDir::toNativeSeparators(chosen.absolutePath()) +
                                QStringLiteral("\nThis folder does not exist.\nCheck the name and try again."),
                            QMessageBox::Ok, &dialog);
            KeepTitleWhole(box);
            box.exec();
            if (!QFileInfo(dialog.directory().absolutePath()).isDir())
                dialog.setDirectory(folder);
        }
    }

    int selectedFilter_ = 0;
};

}  // namespace

namespace qt {

// "*.*" means every file, as it does on the desktop the filters were written
// for.
QStringList FileFilters(const std::string& filter)
{
    QStringList parts = QString::fromUtf8(filter.data(), qsizetype(filter.size())).split(QLatin1Char('|'));
    QStringList filters;
    if (filter.empty())
        return filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString label = parts[i].trimmed();
        if (i + 1 >= parts.size() && label.isEmpty())
            break;  // a bar at the end
        QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        QStringList list;
        for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
            if (!pattern.isEmpty())
                list << pattern;
        }
        if (list.isEmpty())
            list << QStringLiteral("*");
        if (label.isEmpty())
            label = list.join(QLatin1Char(' '));
        filters << label + QStringLiteral(" (") + list.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

}  // namespace qt

std::unique_ptr<Requesters> MakeDesktopRequesters() { return std::make_unique<DesktopRequesters>(); }

}  // namespace platform
