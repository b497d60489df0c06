#pragma once
// Qt draws some of what the player reads itself: the buttons of the message boxes and
// of the colour dialog, the colour dialog's labels, the context menus of text fields.
// SwedishQtTexts makes all of it Swedish, whatever the user's locale: it loads Qt's own
// Swedish catalogue from Qt's translations folder (on Debian the package
// qt6-translations-l10n) and fills in what that catalogue lacks.
//
// Debian 12 ships Qt's Swedish only as the catalogue written for an older Qt
// (qt_sv.qm): since then Qt has moved some texts to other contexts (the standard
// buttons' texts now belong to the platform theme, a text field's menu to another
// class) and added a few. The filler finds the moved texts where the catalogue keeps
// them and carries its own Swedish for the added ones. A catalogue that has a text
// itself always wins over the filler.
#include <QString>
#include <QTranslator>

namespace karvelo {

class SwedishQtTexts {
public:
    // Loads the catalogue and installs both translators in the running application;
    // they stay installed while this object lives.
    SwedishQtTexts();

    // The catalogue file in use; empty when Qt's translations are not installed,
    // and then only the filler's own texts are Swedish.
    QString Catalogue() const { return catalogue_; }

private:
    class Filler final : public QTranslator {
    public:
        explicit Filler(const QTranslator& catalogue) : catalogue_(catalogue) {}
        QString translate(const char* context, const char* sourceText,
                          const char* disambiguation, int n) const override;
        bool isEmpty() const override { return false; }

    private:
        const QTranslator& catalogue_;
    };

    QTranslator qt_;
    Filler filler_{qt_};
    QString catalogue_;
};

}  // namespace karvelo
