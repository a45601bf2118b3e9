#include "ui/QtTranslations.h"

#include "lang/LanguageLocale.h"
#include "ui/QtText.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QtTranslations::QtTranslations() : QtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {}

QtTranslations::QtTranslations(QString folder) : folder_(std::move(folder)) {}

QtTranslations::~QtTranslations() {
    Remove();
}

QString QtTranslations::QtLanguageOf(const std::string& languageFile) {
    return ToQString(LocaleNameOfLanguageFile(languageFile)).section(QLatin1Char('_'), 0, 0);
}

bool QtTranslations::Apply(const std::string& languageFile) {
    const QString language = QtLanguageOf(languageFile);
    if (translator_ && language == language_)
        return true;
    Remove();
    if (language == QLatin1String("en"))
        return true; // Qt's own language
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + language, folder_))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    language_ = language;
    return true;
}

void QtTranslations::Remove() {
    if (translator_)
        QCoreApplication::removeTranslator(translator_.get());
    translator_.reset();
    language_.clear();
}
