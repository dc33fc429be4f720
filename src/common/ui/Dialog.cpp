#include "common/ui/Dialog.h"

#include "core/Session.h"
#include "core/LocalConfig.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QChildEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTextEdit>
#include <QWindow>

namespace {

const char *const kKeepEnterKey = "korvenaKeepEnterKey";
const char *const kSavedPalette = "korvenaSavedPalette";
const char *const kHadOwnPalette = "korvenaHadOwnPalette";

// The line edit inside a spin box or an editable combo box stands for its owner.
QWidget *inputOwner(QWidget *widget)
{
    QWidget *parent = widget->parentWidget();
    if (parent && qobject_cast<QLineEdit *>(widget) &&
        (qobject_cast<QAbstractSpinBox *>(parent) || qobject_cast<QComboBox *>(parent)))
        return parent;
    return widget;
}

bool isInputBox(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget) ||
        qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QTextEdit *>(widget))
        return true;
    const auto *combo = qobject_cast<const QComboBox *>(widget);
    return combo && combo->isEditable();
}

bool movesOnEnter(const QWidget *widget)
{
    if (widget->property(kKeepEnterKey).toBool())
        return false;
    return isInputBox(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget);
}

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

Qt::KeyboardModifiers modifiersOf(const QKeyEvent *key)
{
    return key->modifiers() & ~Qt::KeypadModifier;
}

void paintFocused(QWidget *widget)
{
    if (widget->property(kSavedPalette).isValid())
        return;
    widget->setProperty(kHadOwnPalette, widget->testAttribute(Qt::WA_SetPalette));
    widget->setProperty(kSavedPalette, QVariant::fromValue(widget->palette()));
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, focusColor());
    widget->setPalette(palette);
}

void paintUnfocused(QWidget *widget)
{
    const QVariant saved = widget->property(kSavedPalette);
    if (!saved.isValid())
        return;
    // A widget that inherited its palette inherits it again.
    widget->setPalette(widget->property(kHadOwnPalette).toBool() ? saved.value<QPalette>() : QPalette());
    widget->setProperty(kSavedPalette, QVariant());
    widget->setProperty(kHadOwnPalette, QVariant());
}

// The platform style masks passwords with a bullet; the boxes here show '*'.
class StarPasswordStyle : public QProxyStyle
{
public:
    explicit StarPasswordStyle(QStyle *base) : QProxyStyle(base) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The frame of the last window the window manager framed.
QMargins lastFrameMargins;

// Asked of the platform window each time: the widget's own record of its frame
// is renewed only when the window moves or is resized, and a window placed by its
// client area may never move after it was framed. Before the window is mapped the
// platform may guess from a parent that is not the frame yet: no frame then.
QMargins ownFrameMargins(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    if (!handle || !window->isVisible() || !handle->isExposed())
        return {};
    const QMargins m = handle->frameMargins();
    return m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0 ? QMargins() : m;
}

// Sets the client area inside the frame rather than the frame's place: a window
// manager keeps a client where it was asked to be, and builds the frame round it.
void applyFrame(QWidget *window, const QRect &frame, bool resize, const QMargins &margins)
{
    const QRect client = frame.marginsRemoved(margins);
    window->setGeometry(resize ? client : QRect(client.topLeft(), window->size()));
}

// Waits until the window is on screen, when the window manager has framed it,
// and places it again if the frame is not the one assumed.
class FrameWatch : public QObject
{
public:
    FrameWatch(QWidget *window, const QRect &frame, bool resize, const QMargins &assumed)
        : QObject(window), m_window(window), m_frame(frame), m_resize(resize), m_assumed(assumed)
    {
        setObjectName(QLatin1String(Name));
    }
    static constexpr const char *Name = "korvenaFrameWatch";

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (m_done || event->type() != QEvent::Expose || !m_window->windowHandle()->isExposed())
            return false;
        m_done = true;
        const QMargins real = ownFrameMargins(m_window);
        if (!real.isNull()) // none: nobody frames the window
            lastFrameMargins = real;
        if (real != m_assumed)
            applyFrame(m_window, m_frame, m_resize, real);
        deleteLater();
        return false;
    }

private:
    QWidget *m_window;
    QRect m_frame;
    bool m_resize;
    QMargins m_assumed;
    bool m_done = false;
};

} // namespace

void maskPasswordBox(QLineEdit *edit)
{
    auto *style = new StarPasswordStyle(QStyleFactory::create(edit->style()->name()));
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}

QRect windowFrameGeometry(const QWidget *window)
{
    return window->geometry().marginsAdded(ownFrameMargins(window));
}

QMargins windowFrameMargins(const QWidget *window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const QWindow *handle = window->windowHandle();
    return handle && window->isVisible() && handle->isExposed() ? ownFrameMargins(window) : lastFrameMargins;
}

void placeWindowFrame(QWidget *window, const QRect &frame, bool resize)
{
    const QMargins margins = windowFrameMargins(window);
    applyFrame(window, frame, resize, margins);
    QWindow *handle = window->windowHandle();
    if (!handle || handle->isExposed())
        return;
    // A watch of an earlier placing gives way to this one.
    const auto earlier =
        window->findChildren<QObject *>(QLatin1String(FrameWatch::Name), Qt::FindDirectChildrenOnly);
    qDeleteAll(earlier);
    handle->installEventFilter(new FrameWatch(window, frame, resize, margins));
}

QColor focusColor()
{
    return QColor(166, 202, 240);
}

Dialog::Dialog(QWidget *parent, const QString &objectName, bool resizable)
    : QDialog(parent), m_resizable(resizable)
{
    setObjectName(objectName);
    QFont f = font();
    const int size = session().local.fontSize;
    f.setPointSize(size > 0 ? size : 9);
    setFont(f);
    // Sees the children as they are added, so every input box gets the conventions.
    installEventFilter(this);
}

void Dialog::keepEnterKey(QWidget *widget)
{
    widget->setProperty(kKeepEnterKey, true);
}

void Dialog::installFilters()
{
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void Dialog::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        installFilters();
        const QSize designed = size();
        if (!objectName().isEmpty()) {
            const QRect workArea = screen()->availableGeometry();
            const QRect place =
                readDialogGeometry(objectName(), QRect(pos(), designed.grownBy(windowFrameMargins(this))),
                                   m_resizable, workArea);
            placeWindowFrame(this, place, m_resizable);
        }
        if (!m_resizable)
            setFixedSize(designed);
    }
    QDialog::showEvent(event);
}

void Dialog::done(int result)
{
    // Per-key failures are ignored: a read-only configuration must not stop a dialog from closing.
    if (m_placed && isVisible() && !objectName().isEmpty())
        writeDialogGeometry(objectName(), windowFrameGeometry(this), m_resizable);
    QDialog::done(result);
}

bool Dialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded) {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        // A dialog opened from this one keeps its own conventions.
        if (child->isWidgetType() && !static_cast<QWidget *>(child)->isWindow()) {
            child->installEventFilter(this);
            for (QWidget *grandChild : child->findChildren<QWidget *>())
                grandChild->installEventFilter(this);
        }
        return false;
    }
    if (watched == this || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    // Widgets of a dialog opened from this one follow that dialog.
    if (widget->window() != this)
        return false;

    switch (event->type()) {
    case QEvent::FocusIn: {
        QWidget *owner = inputOwner(widget);
        if (isInputBox(owner))
            paintFocused(owner);
        break;
    }
    case QEvent::FocusOut: {
        // Opening a pop-up or another window does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            break;
        paintUnfocused(inputOwner(widget));
        break;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!isEnter(key))
            break;
        if (modifiersOf(key) == Qt::ControlModifier) {
            accept();
            return true;
        }
        // Taken here, before the line edit passes it on to the default button.
        if (modifiersOf(key) == Qt::NoModifier && movesOnEnter(inputOwner(widget)) &&
            !widget->property(kKeepEnterKey).toBool()) {
            focusNextChild();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void Dialog::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event) && modifiersOf(event) == Qt::ControlModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
