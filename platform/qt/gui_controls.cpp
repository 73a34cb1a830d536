// Controls on Qt Widgets: buttons, drop-down lists, labels, text fields,
// check boxes, spin fields, scroll areas and canvases.
#include "platform/qt/gui_registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolTip>

#include <algorithm>

namespace platform {

using qt::ControlAs;
using qt::ControlRecord;
using qt::FindControl;
using qt::Q;
using qt::Registry;
using qt::U;

namespace {

// The widget that controls of `window` go into: its client area, or the
// inner area of scroll area `parent` on the same window. Null when neither.
QWidget* ControlParent(int window, int parent)
{
    qt::WindowWidget* win = qt::FindWindow(window);
    if (!win)
        return nullptr;
    if (parent == -1)
        return win->Client;
    ControlRecord* record = FindControl(parent);
    if (!record || record->Kind != ControlKind::ScrollArea || record->Window != window)
        return nullptr;
    return static_cast<QScrollArea*>(record->Widget.data())->widget();
}

void Place(int control, int window, int parent, ControlKind kind, QWidget* widget, int x, int y, int w, int h)
{
    widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
    widget->show();
    Registry().Controls[control] = ControlRecord{widget, window, parent, kind};
}

void ReportControl(int window, int control, ControlEvent type)
{
    Event event;
    event.Kind = EventKind::Control;
    event.Window = window;
    event.Object = control;
    event.Type = type;
    qt::PushEvent(event);
}

}  // namespace

// ---------------------------------------------------------------------------
// Internals shared with the other units and the tests

namespace qt {

ControlRecord* FindControl(int control)
{
    auto& controls = Registry().Controls;
    auto it = controls.find(control);
    if (it == controls.end() || !it->second.Widget)
        return nullptr;
    return &it->second;
}

void ForgetControlsOf(int window)
{
    auto& controls = Registry().Controls;
    for (auto it = controls.begin(); it != controls.end();) {
        if (it->second.Window == window)
            it = controls.erase(it);
        else
            ++it;
    }
}

QWidget* ControlObject(int control)
{
    ControlRecord* record = FindControl(control);
    return record ? record->Widget.data() : nullptr;
}

CanvasWidget* CanvasObject(int control) { return ControlAs<CanvasWidget>(control, ControlKind::Canvas); }

}  // namespace qt

// ---------------------------------------------------------------------------
// Controls

bool ButtonControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* button = new QPushButton(Q(text), host);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button,
                     [window, control] { ReportControl(window, control, ControlEvent::LeftClick); });
    Place(control, window, parent, ControlKind::Button, button, x, y, w, h);
    return true;
}

bool ComboBoxControl(int window, int control, int x, int y, int w, int h, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* combo = new QComboBox(host);
    combo->setEditable(false);
    // activated is the user's pick only; the program's changes do not raise it.
    QObject::connect(combo, &QComboBox::activated, combo,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, ControlKind::List, combo, x, y, w, h);
    return true;
}

bool TextControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* label = new QLabel(Q(text), host);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(control, window, parent, ControlKind::Label, label, x, y, w, h);
    return true;
}

bool StringControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* field = new QLineEdit(Q(text), host);
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, ControlKind::Field, field, x, y, w, h);
    return true;
}

bool CheckBoxControl(int window, int control, int x, int y, int w, int h, const std::string& text, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* box = new QCheckBox(Q(text), host);
    QObject::connect(box, &QCheckBox::clicked, box,
                     [window, control] { ReportControl(window, control, ControlEvent::LeftClick); });
    Place(control, window, parent, ControlKind::CheckBox, box, x, y, w, h);
    return true;
}

bool SpinControl(int window, int control, int x, int y, int w, int h, int minimum, int maximum, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* spin = new QSpinBox(host);
    spin->setRange(std::min(minimum, maximum), std::max(minimum, maximum));
    // The program's changes are made with the signals blocked.
    QObject::connect(spin, &QSpinBox::valueChanged, spin,
                     [window, control] { ReportControl(window, control, ControlEvent::Change); });
    Place(control, window, parent, ControlKind::Spin, spin, x, y, w, h);
    return true;
}

bool ScrollAreaControl(int window, int control, int x, int y, int w, int h, int innerWidth, int innerHeight, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* area = new QScrollArea(host);
    auto* inner = new QWidget;
    inner->resize(std::max(innerWidth, 0), std::max(innerHeight, 0));
    area->setWidgetResizable(false);
    area->setWidget(inner);
    Place(control, window, parent, ControlKind::ScrollArea, area, x, y, w, h);
    return true;
}

bool CanvasControl(int window, int control, int x, int y, int w, int h, int parent)
{
    FreeControl(control);
    QWidget* host = ControlParent(window, parent);
    if (!host)
        return false;
    auto* canvas = new qt::CanvasWidget(host, window, control);
    Place(control, window, parent, ControlKind::Canvas, canvas, x, y, w, h);
    canvas->FitBacking();
    return true;
}

bool IsControl(int control) { return FindControl(control) != nullptr; }

bool FocusControl(int control)
{
    QWidget* widget = qt::ControlObject(control);
    if (!widget || widget->focusPolicy() == Qt::NoFocus)
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    return QApplication::focusWidget() == widget;
}

int FocusedControl()
{
    QWidget* focus = QApplication::focusWidget();
    for (auto& [number, record] : Registry().Controls)
        if (record.Widget && record.Widget.data() == focus)
            return number;
    return -1;
}

void FreeControl(int control)
{
    auto& controls = Registry().Controls;
    auto it = controls.find(control);
    if (it == controls.end())
        return;
    QPointer<QWidget> widget = it->second.Widget;
    controls.erase(it);
    // Controls placed inside go with it.
    std::vector<int> inside;
    for (auto& [number, record] : controls)
        if (record.Parent == control)
            inside.push_back(number);
    for (int number : inside)
        FreeControl(number);
    delete widget.data();
}

int GetState(int control)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return -1;
    switch (record->Kind) {
    case ControlKind::List: return static_cast<QComboBox*>(record->Widget.data())->currentIndex();
    case ControlKind::CheckBox: return static_cast<QCheckBox*>(record->Widget.data())->isChecked() ? 1 : 0;
    case ControlKind::Spin: return static_cast<QSpinBox*>(record->Widget.data())->value();
    default: return 0;
    }
}

void SetState(int control, int state)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return;
    QSignalBlocker quiet(record->Widget.data());
    switch (record->Kind) {
    case ControlKind::List: {
        auto* combo = static_cast<QComboBox*>(record->Widget.data());
        // A position beyond the items leaves no selection.
        combo->setCurrentIndex(state >= 0 && state < combo->count() ? state : -1);
        break;
    }
    case ControlKind::CheckBox: static_cast<QCheckBox*>(record->Widget.data())->setChecked(state != 0); break;
    case ControlKind::Spin: static_cast<QSpinBox*>(record->Widget.data())->setValue(state); break;
    default: break;
    }
}

std::string GetText(int control)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return std::string();
    QWidget* w = record->Widget.data();
    switch (record->Kind) {
    case ControlKind::Button: return U(static_cast<QPushButton*>(w)->text());
    case ControlKind::List: {
        auto* combo = static_cast<QComboBox*>(w);
        return combo->currentIndex() < 0 ? std::string() : U(combo->currentText());
    }
    case ControlKind::Label: return U(static_cast<QLabel*>(w)->text());
    case ControlKind::Field: return U(static_cast<QLineEdit*>(w)->text());
    case ControlKind::CheckBox: return U(static_cast<QCheckBox*>(w)->text());
    case ControlKind::Spin: return U(static_cast<QSpinBox*>(w)->cleanText());
    default: return std::string();
    }
}

void SetText(int control, const std::string& text)
{
    ControlRecord* record = FindControl(control);
    if (!record)
        return;
    QWidget* w = record->Widget.data();
    QSignalBlocker quiet(w);
    switch (record->Kind) {
    case ControlKind::Button: static_cast<QPushButton*>(w)->setText(Q(text)); break;
    case ControlKind::List: {
        // Selects the item of that text, if there is one.
        auto* combo = static_cast<QComboBox*>(w);
        int position = combo->findText(Q(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (position >= 0)
            combo->setCurrentIndex(position);
        break;
    }
    case ControlKind::Label: static_cast<QLabel*>(w)->setText(Q(text)); break;
    case ControlKind::Field: static_cast<QLineEdit*>(w)->setText(Q(text)); break;
    case ControlKind::CheckBox: static_cast<QCheckBox*>(w)->setText(Q(text)); break;
    case ControlKind::Spin: {
        bool ok = false;
        int value = Q(text).trimmed().toInt(&ok);
        if (ok)
            static_cast<QSpinBox*>(w)->setValue(value);
        break;
    }
    default: break;
    }
}

void AddItem(int control, int position, const std::string& text)
{
    auto* combo = ControlAs<QComboBox>(control, ControlKind::List);
    if (!combo)
        return;
    QSignalBlocker quiet(combo);
    int selected = combo->currentIndex();
    int at = position < 0 || position > combo->count() ? combo->count() : position;
    combo->insertItem(at, Q(text));
    // An insertion never selects; the selected item stays selected.
    combo->setCurrentIndex(selected < 0 ? -1 : (at <= selected ? selected + 1 : selected));
}

void RemoveItem(int control, int position)
{
    auto* combo = ControlAs<QComboBox>(control, ControlKind::List);
    if (!combo || position < 0 || position >= combo->count())
        return;
    QSignalBlocker quiet(combo);
    int selected = combo->currentIndex();
    combo->removeItem(position);
    // Removing the selected item leaves none; removing one before it keeps it.
    combo->setCurrentIndex(selected == position ? -1 : (selected > position ? selected - 1 : selected));
}

void ClearItems(int control)
{
    auto* combo = ControlAs<QComboBox>(control, ControlKind::List);
    if (!combo)
        return;
    QSignalBlocker quiet(combo);
    combo->clear();
}

int CountItems(int control)
{
    auto* combo = ControlAs<QComboBox>(control, ControlKind::List);
    return combo ? combo->count() : 0;
}

std::string GetItemText(int control, int position)
{
    auto* combo = ControlAs<QComboBox>(control, ControlKind::List);
    if (!combo || position < 0 || position >= combo->count())
        return std::string();
    return U(combo->itemText(position));
}

int ControlX(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->x() : 0;
}

int ControlY(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->y() : 0;
}

int ControlWidth(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->width() : 0;
}

int ControlHeight(int control)
{
    QWidget* w = qt::ControlObject(control);
    return w ? w->height() : 0;
}

void ResizeControl(int control, int x, int y, int w, int h)
{
    QWidget* widget = qt::ControlObject(control);
    if (!widget)
        return;
    widget->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
    if (auto* canvas = qt::CanvasObject(control))
        canvas->FitBacking();
}

void HideControl(int control, bool hide)
{
    if (QWidget* widget = qt::ControlObject(control))
        widget->setVisible(!hide);
}

void SetToolTip(int control, const std::string& text)
{
    QWidget* widget = qt::ControlObject(control);
    if (!widget)
        return;
    widget->setToolTip(Q(text));
    // A tip on show follows the change at once.
    if (QToolTip::isVisible() && widget->underMouse())
        QToolTip::showText(QCursor::pos(), Q(text), widget);
}

std::string GetToolTip(int control)
{
    QWidget* widget = qt::ControlObject(control);
    return widget ? U(widget->toolTip()) : std::string();
}

void SetScrollAreaInner(int control, int innerWidth, int innerHeight)
{
    if (auto* area = ControlAs<QScrollArea>(control, ControlKind::ScrollArea))
        area->widget()->resize(std::max(innerWidth, 0), std::max(innerHeight, 0));
}

int ScrollAreaBorder(int control)
{
    auto* area = ControlAs<QScrollArea>(control, ControlKind::ScrollArea);
    return area ? area->frameWidth() : 0;
}

// A scroll area's bar of that orientation; null when `control` is none.
// Scrolling raises none of our events, so no blocker is needed to set it.
static QScrollBar* ScrollBar(int control, Qt::Orientation orientation)
{
    auto* area = ControlAs<QScrollArea>(control, ControlKind::ScrollArea);
    if (!area)
        return nullptr;
    return orientation == Qt::Vertical ? area->verticalScrollBar() : area->horizontalScrollBar();
}

int ScrollAreaY(int control)
{
    QScrollBar* bar = ScrollBar(control, Qt::Vertical);
    return bar ? bar->value() : 0;
}

void SetScrollAreaY(int control, int y)
{
    if (QScrollBar* bar = ScrollBar(control, Qt::Vertical))
        bar->setValue(y);
}

int ScrollAreaX(int control)
{
    QScrollBar* bar = ScrollBar(control, Qt::Horizontal);
    return bar ? bar->value() : 0;
}

void SetScrollAreaX(int control, int x)
{
    if (QScrollBar* bar = ScrollBar(control, Qt::Horizontal))
        bar->setValue(x);
}

// ---------------------------------------------------------------------------
// What a window holds

std::vector<ControlInfo> WindowControls(int window)
{
    std::vector<ControlInfo> controls;
    for (auto& [number, record] : Registry().Controls) {
        QWidget* w = record.Widget.data();
        if (record.Window != window || !w)
            continue;
        controls.push_back(
            ControlInfo{number, record.Kind, w->x(), w->y(), w->width(), w->height(), GetText(number), GetState(number)});
    }
    return controls;
}

Image GetCanvasImage(int control)
{
    qt::CanvasWidget* canvas = qt::CanvasObject(control);
    return canvas ? canvas->Content() : Image();
}

}  // namespace platform
