#include "tspinedit.h"

#include "tedit.h"

#include "calc/portarea.h"
#include "platform/application.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QWheelEvent>

namespace {

std::string utf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    lineEdit()->setMaxLength(3);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::changed);
    setText(QString::number(calc::countMinimum));
}

int TSpinEdit::value() const
{
    return calc::countFromText(utf8(text()));
}

void TSpinEdit::setValue(int value)
{
    setText(QString::number(value));
}

void TSpinEdit::setText(const QString& text)
{
    lineEdit()->setText(text);
}

void TSpinEdit::stepBy(int steps)
{
    setText(QString::fromStdString(calc::countTextStepped(utf8(text()), steps)));
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    // Always both: a step at a bound sets the same text, which changes nothing.
    return StepUpEnabled | StepDownEnabled;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown
        || TEdit::isForeignEditingKey(event))
        return;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        dropStepModifier(event);
    if (const auto ch = TEdit::typedCharacter(event)) {
        const char16_t c = *ch;
        const bool control = c < 0x20 || c == 0x7F;
        const QString point = QLocale::system().decimalPoint(); // locale-ok: a key, not a number
        const bool accepted = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-'
            || QString(QChar(c)) == point || (control && c != 13);
        if (!accepted) {
            platform::messageBeep(0);
            return;
        }
        if (c == 8)
            lineEdit()->backspace();
        if (control)
            return; // taken, but only Backspace edits
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::mousePressEvent(QMouseEvent* event)
{
    dropStepModifier(event);
    QAbstractSpinBox::mousePressEvent(event);
}

void TSpinEdit::wheelEvent(QWheelEvent* event)
{
    dropStepModifier(event);
    QAbstractSpinBox::wheelEvent(event);
}

void TSpinEdit::dropStepModifier(QInputEvent* event) const
{
    // The spin box steps by ten while the style's step modifier is held.
    const auto modifier = static_cast<Qt::KeyboardModifier>(
        style()->styleHint(QStyle::SH_SpinBox_StepModifier, nullptr, this));
    event->setModifiers(event->modifiers() & ~modifier);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    // Only when another control takes the focus: not for the field's own
    // context menu, nor when another window is activated.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (const auto bound = calc::countTextOnLeave(utf8(text())))
        setText(QString::fromStdString(*bound));
}
