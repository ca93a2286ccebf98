#include "tspinedit.h"

#include "tedit.h"

#include "calc/portarea.h"
#include "platform/application.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

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
    if (const auto ch = TEdit::typedCharacter(event)) {
        const QChar c(*ch);
        const QString point = QLocale::system().decimalPoint(); // locale-ok: a key, not a number
        const bool accepted = c.isDigit()
            ? (c >= u'0' && c <= u'9')
            : c == u'+' || c == u'-' || QString(c) == point || (*ch < 0x20 && *ch != 13);
        if (!accepted) {
            platform::messageBeep(0);
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    if (const auto bound = calc::countTextOnLeave(utf8(text())))
        setText(QString::fromStdString(*bound));
}
