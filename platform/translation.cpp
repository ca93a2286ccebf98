#include "translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace platform {

bool installQtTranslation()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QLocale czech(QLocale::Czech, QLocale::Czechia);
    for (const QString& dir :
         {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), dir))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    std::fprintf(stderr,
                 "%s: Qt's Czech translation (qtbase_cs.qm) is missing: "
                 "Qt's own texts stay in English\n",
                 qPrintable(QCoreApplication::applicationName()));
    return false;
}

} // namespace platform
