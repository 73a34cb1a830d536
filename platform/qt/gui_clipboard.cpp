// The clipboard as text on Qt.
#include "platform/qt/gui_qt.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void SetClipboardText(const std::string& text)
{
    if (GuiRunning())
        QGuiApplication::clipboard()->setText(qt::Q(text));
}

std::string GetClipboardText()
{
    if (!GuiRunning())
        return std::string();
    return qt::U(QGuiApplication::clipboard()->text());
}

}  // namespace platform
