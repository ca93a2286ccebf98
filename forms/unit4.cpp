#include "unit4.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : platform::TForm(parent)
{
    Form4 = this;
}
