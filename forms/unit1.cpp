#include "unit1.h"

#include "keyfilter.h"
#include "layout.h"
#include "unit2.h"
#include "unit3.h"
#include "unit4.h"

#include "calc/design.h"
#include "platform/application.h"
#include "platform/handler.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : platform::TForm(parent)
{
    Form1 = this;
    loadLayout(this);
    setDialogFrame(width(), height());

    for (TEdit* field : inputFields()) {
        connect(field, &QLineEdit::textChanged, this,
                platform::guarded(this, &TForm1::Edit1Change));
        field->setOnKeyPress([this](TEdit* sender, char16_t& key) {
            platform::runGuarded([&] { Edit1KeyPress(sender, key); });
        });
    }
    connect(BitBtn1, &TBitBtn::activated, this, platform::guarded(this, &TForm1::BitBtn1Click));
    connect(BitBtn3, &TBitBtn::activated, this, platform::guarded(this, &TForm1::BitBtn3Click));
    connect(BitBtn4, &TBitBtn::activated, this, platform::guarded(this, &TForm1::BitBtn4Click));

    platform::runGuarded([this] { FormCreate(); });
}

std::array<TEdit*, 7> TForm1::inputFields() const
{
    return {Edit1, Edit2, Edit3, Edit4, Edit5, Edit10, Edit6};
}

void TForm1::FormCreate()
{
    Edit5->setText(QStringLiteral("0"));
}

void TForm1::Edit1Change()
{
    calc::DesignTexts texts;
    const auto fields = inputFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts[i] = fields[i]->text().toStdString();

    const calc::DesignResult result = calc::recalculate(texts);
    if (result.storedQtc)
        Qtc = *result.storedQtc;

    if (result.outcome == calc::Outcome::Filled) {
        Edit9->setText(QString::fromStdString(result.length));
        Edit8->setText(QString::fromStdString(result.fb));
        Edit7->setText(QString::fromStdString(result.qtc));
        return;
    }
    Edit9->clear();
    Edit7->clear();
    Edit8->clear();
    if (result.outcome == calc::Outcome::NotPositive)
        platform::abortSilently();
    if (result.outcome == calc::Outcome::Overflow)
        platform::raiseError(calc::overflowMessage);
}

void TForm1::Edit1KeyPress(TEdit*, char16_t& key)
{
    decimalKeyFilter(key);
}

void TForm1::BitBtn1Click()
{
    if (Form2)
        Form2->showAndRaise();
}

void TForm1::BitBtn3Click()
{
    platform::Application::helpCommand(platform::helpCommandContents, 0);
}

void TForm1::BitBtn4Click()
{
    // An empty Fb means no complete, valid design stands: the recalculation
    // fills or clears the three results together.
    if (Edit8->text().isEmpty()) {
        platform::Application::messageBox(
            {QStringLiteral("Error"), QStringLiteral("Nejsou vyplněny všechny potřebné údaje !!!"),
             QMessageBox::Critical});
        return;
    }
    // The fields' texts exactly as they stand, with their units.
    Form3->FolioLabel25 = Edit1->text() + QStringLiteral(" Hz");
    Form3->FolioLabel26 = Edit2->text();
    Form3->FolioLabel27 = Edit3->text() + QStringLiteral(" l");
    Form3->FolioLabel28 = Edit4->text() + QStringLiteral(" Ohm");
    Form3->FolioLabel29 = Edit5->text() + QStringLiteral(" Ohm");
    Form3->FolioLabel30 = Edit10->text() + QStringLiteral(" cm2");
    Form3->FolioLabel31 = Edit6->text() + QStringLiteral(" l");
    Form3->FolioLabel32 = Edit9->text() + QStringLiteral(" cm");
    Form3->FolioLabel33 = Edit7->text();
    Form3->FolioLabel34 = Edit8->text() + QStringLiteral(" Hz");
    Form3->FolioLabel36 =
        calc::portMayBeShortened(Qtc) ? QStringLiteral("ANO") : QStringLiteral("NE");
    Form3->Folio1();
}

void TForm1::FormClose()
{
    if (Form4)
        Form4->close();
}
