#include "unit2.h"

#include "keyfilter.h"
#include "layout.h"
#include "unit1.h"

#include "platform/application.h"
#include "platform/handler.h"

#include <string>
#include <vector>

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : platform::TForm(parent)
{
    Form2 = this;
    loadLayout(this);
    setDialogFrame(width(), height());

    using Handler = void (TForm2::*)();
    const struct {
        std::vector<TEdit*> dimensions;
        TSpinEdit* count;
        Handler handler;
    } tabs[] = {
        {{Edit1}, SpinEdit2, &TForm2::Edit1Change},
        {{edit3, Edit5}, SpinEdit1, &TForm2::edit3Change},
        {{Edit2}, SpinEdit3, &TForm2::Edit2Change},
        {{Edit8}, SpinEdit4, &TForm2::Edit8Change},
    };
    for (const auto& tab : tabs) {
        for (TEdit* field : tab.dimensions) {
            connect(field, &QLineEdit::textChanged, this, platform::guarded(this, tab.handler));
            field->setOnKeyPress([this](TEdit* sender, char16_t& key) {
                platform::runGuarded([&] { Edit1KeyPress(sender, key); });
            });
        }
        connect(tab.count, &TSpinEdit::changed, this, platform::guarded(this, tab.handler));
    }
    for (TEdit* area : {Edit6, Edit4, Edit7, Edit9})
        connect(area, &QLineEdit::textChanged, this, platform::guarded(this, &TForm2::Edit6Change));
    connect(PageControl1, &QTabWidget::currentChanged, this,
            platform::guarded(this, &TForm2::Edit6Change));
    connect(BitBtn12, &TBitBtn::activated, this, platform::guarded(this, &TForm2::BitBtn12Click));
    connect(BitBtn1, &TBitBtn::activated, this, platform::guarded(this, &TForm2::BitBtn1Click));
    connect(BitBtn2, &TBitBtn::activated, this, platform::guarded(this, &TForm2::BitBtn2Click));
}

void TForm2::Edit1KeyPress(TEdit*, char16_t& key)
{
    decimalKeyFilter(key);
}

void TForm2::computeArea(calc::PortShape shape, std::initializer_list<const TEdit*> dimensions,
                         const TSpinEdit* count, TEdit* area)
{
    std::vector<std::string> texts;
    for (const TEdit* field : dimensions)
        texts.push_back(field->text().toStdString());

    const calc::AreaResult result = calc::portArea(shape, texts, count->text().toStdString());
    if (result.outcome == calc::Outcome::Filled) {
        area->setText(QString::fromStdString(result.text));
        return;
    }
    area->clear();
    if (result.outcome == calc::Outcome::NotPositive)
        platform::abortSilently();
    if (result.outcome == calc::Outcome::Overflow)
        platform::raiseError(calc::overflowMessage);
}

void TForm2::Edit1Change()
{
    computeArea(calc::PortShape::Circle, {Edit1}, SpinEdit2, Edit6);
}

void TForm2::edit3Change()
{
    computeArea(calc::PortShape::Rectangle, {edit3, Edit5}, SpinEdit1, Edit4);
}

void TForm2::Edit2Change()
{
    computeArea(calc::PortShape::Square, {Edit2}, SpinEdit3, Edit7);
}

void TForm2::Edit8Change()
{
    computeArea(calc::PortShape::Triangle, {Edit8}, SpinEdit4, Edit9);
}

TEdit* TForm2::activeAreaField() const
{
    const QWidget* page = PageControl1->currentWidget();
    if (page == TabSheet1)
        return Edit6;
    if (page == TabSheet2)
        return Edit4;
    if (page == TabSheet3)
        return Edit7;
    if (page == TabSheet4)
        return Edit9;
    return nullptr;
}

void TForm2::Edit6Change()
{
    const TEdit* area = activeAreaField();
    BitBtn12->setEnabled(area && !area->text().isEmpty());
}

void TForm2::BitBtn12Click()
{
    if (const TEdit* area = activeAreaField(); area && Form1)
        Form1->Edit10->setText(area->text());
}

void TForm2::BitBtn1Click()
{
    platform::Application::helpCommand(platform::helpCommandContents, 4);
}

void TForm2::BitBtn2Click()
{
    close();
}
