#pragma once
// Qt's own texts (file dialogs, standard buttons, context menus of text fields) in the program's
// language: Qt's translation of its base module for German or French, none for English. Changing
// the language swaps the translation, and Qt tells its widgets to take their texts again.

#include <QString>

#include <memory>
#include <string>

class QTranslator;

class QtTranslations {
public:
    // Looks for Qt's translation files in `folder`; by default where this Qt keeps them.
    QtTranslations();
    explicit QtTranslations(QString folder);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // The translation for the language of a language file ("deutsch.cty" → Qt's German texts).
    // False when that language's translation file is missing (Qt's package of translations is
    // not installed): Qt's texts then stay English.
    bool Apply(const std::string& languageFile);

    // "de", "fr", or empty while Qt speaks English.
    const QString& LanguageInUse() const { return language_; }

    // Qt's language code for a language file: "de", "fr", "en".
    static QString QtLanguageOf(const std::string& languageFile);

private:
    void Remove();

    QString folder_;
    std::unique_ptr<QTranslator> translator_;
    QString language_;
};
