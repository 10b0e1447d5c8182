#include "app/Accelerators.h"

#include "app/CommandIds.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace lurvo::app {

int acceleratorCommand(AcceleratorTable table, int key) {
    if (table == AcceleratorTable::ReadAlong) {
        switch (key) {
        case Qt::Key_Down:
            return CmdReadAlongRecord;
        case Qt::Key_Up:
            return CmdReadAlongPlayLesson;
        case Qt::Key_Left:
            return CmdReadAlongPrevious;
        case Qt::Key_Right:
            return CmdReadAlongNext;
        case Qt::Key_Tab:
            return CmdReadAlongPlayRecording;
        case Qt::Key_Return:
        case Qt::Key_Enter: // the keypad's
            return CmdReadAlongPlayBoth;
        case Qt::Key_P:
            return CmdReadAlongPitch;
        case Qt::Key_Escape:
            return CmdReadAlongClose;
        default:
            return 0;
        }
    }
    switch (key) {
    case Qt::Key_Down:
        return CmdPlayPause;
    case Qt::Key_Up:
        return CmdRepeat;
    case Qt::Key_Left:
        return CmdPrevious;
    case Qt::Key_Right:
        return CmdNext;
    case Qt::Key_Tab:
        return CmdReadAlong;
    case Qt::Key_F4:
        return CmdStop;
    case Qt::Key_Home:
        return CmdFirst;
    case Qt::Key_End:
        return CmdLast;
    case Qt::Key_PageUp:
        return CmdBackFive;
    case Qt::Key_PageDown:
        return CmdForwardFive;
    case Qt::Key_BracketLeft:
        return CmdSlower;
    case Qt::Key_BracketRight:
        return CmdFaster;
    case Qt::Key_Backslash:
        return CmdNormalSpeed;
    case Qt::Key_J:
        return CmdShowJyutping;
    default:
        return 0;
    }
}

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
    // Dialogs and open popups (menus, a combo box's list) keep their own keys.
    if (event->type() != QEvent::KeyPress || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // Arrows and the keypad come with the keypad modifier on some systems; it is not a modifier.
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    QWidget* active = QApplication::activeWindow();
    QWidget* readAlong = target_.readAlongWindow ? target_.readAlongWindow() : nullptr;
    if (readAlong != nullptr) {
        const int command = acceleratorCommand(AcceleratorTable::ReadAlong, key->key());
        if (command == 0 || active != readAlong)
            return QObject::eventFilter(watched, event);
        target_.dispatchReadAlong(command);
        return true;
    }
    const int command = acceleratorCommand(AcceleratorTable::Main, key->key());
    if (command == 0 || active == nullptr || active != target_.mainWindow())
        return QObject::eventFilter(watched, event);
    target_.dispatchMain(command);
    return true;
}

} // namespace lurvo::app
