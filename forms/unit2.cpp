#include "unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : platform::TForm(parent)
{
    Form2 = this;
}
