#pragma once
// The report form: never shown, it only holds the design sheet, the report
// Folio1 with its two title bands and their items. The main window's print
// button fills the value items (FolioLabel25 to FolioLabel34 and
// FolioLabel36) and prints the sheet with Folio1->print().

#include "platform/report/report.h"
#include "platform/tform.h"

#include <QString>

#include <memory>

class TForm3 : public platform::TForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // The sheet's text item of that name (a value item among them), or
    // nullptr.
    platform::report::TextItem* textItem(const QString& name) const;
    // Replaces the text of the text item of that name; throws
    // std::invalid_argument for a name that the sheet does not have.
    void setItemText(const QString& name, const QString& text);

    // The sheet, its bands and its items.
    platform::report::Report* Folio1 = nullptr;
    platform::report::Band* FolioBand1 = nullptr;
    platform::report::Band* FolioBand2 = nullptr;
    platform::report::TextItem* FolioLabel1 = nullptr;
    platform::report::TextItem* FolioLabel2 = nullptr;
    platform::report::TextItem* FolioLabel3 = nullptr;
    platform::report::TextItem* FolioLabel4 = nullptr;
    platform::report::TextItem* FolioLabel5 = nullptr;
    platform::report::TextItem* FolioLabel6 = nullptr;
    platform::report::TextItem* FolioLabel7 = nullptr;
    platform::report::TextItem* FolioLabel8 = nullptr;
    platform::report::TextItem* FolioLabel9 = nullptr;
    platform::report::TextItem* FolioLabel10 = nullptr;
    platform::report::TextItem* FolioLabel11 = nullptr;
    platform::report::TextItem* FolioLabel12 = nullptr;
    platform::report::TextItem* FolioLabel13 = nullptr;
    platform::report::TextItem* FolioLabel14 = nullptr;
    platform::report::TextItem* FolioLabel15 = nullptr;
    platform::report::TextItem* FolioLabel16 = nullptr;
    platform::report::TextItem* FolioLabel17 = nullptr;
    platform::report::TextItem* FolioLabel18 = nullptr;
    platform::report::TextItem* FolioLabel19 = nullptr;
    platform::report::TextItem* FolioLabel20 = nullptr;
    platform::report::TextItem* FolioLabel21 = nullptr;
    platform::report::TextItem* FolioLabel22 = nullptr;
    platform::report::TextItem* FolioLabel23 = nullptr;
    platform::report::TextItem* FolioLabel24 = nullptr;
    platform::report::TextItem* FolioLabel25 = nullptr;
    platform::report::TextItem* FolioLabel26 = nullptr;
    platform::report::TextItem* FolioLabel27 = nullptr;
    platform::report::TextItem* FolioLabel28 = nullptr;
    platform::report::TextItem* FolioLabel29 = nullptr;
    platform::report::TextItem* FolioLabel30 = nullptr;
    platform::report::TextItem* FolioLabel31 = nullptr;
    platform::report::TextItem* FolioLabel32 = nullptr;
    platform::report::TextItem* FolioLabel33 = nullptr;
    platform::report::TextItem* FolioLabel34 = nullptr;
    platform::report::TextItem* FolioLabel35 = nullptr;
    platform::report::TextItem* FolioLabel36 = nullptr;
    platform::report::DateTimeItem* FolioSysData2 = nullptr;
    platform::report::PictureItem* Image1 = nullptr;

private:
    std::unique_ptr<platform::report::Report> folio_;
};

extern TForm3* Form3;
