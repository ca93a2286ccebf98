#include "unit4.h"

#include "layout.h"
#include "unit1.h"

#include "platform/handler.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : platform::TForm(parent)
{
    Form4 = this;
    loadLayout(this);
    setBorderless(width(), height());
    // The panel shows the button-face colour, and so does the splash
    // picture wherever it is silver.
    Panel1->setBackgroundRole(QPalette::Button);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer may fire up to 5% early; the splash stays its full time.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, platform::guarded(this, &TForm4::Timer1Timer));
    Timer1->start();
}

void TForm4::Timer1Timer()
{
    Timer1->stop();
    hide();
    if (Form1)
        Form1->showAndRaise();
}
