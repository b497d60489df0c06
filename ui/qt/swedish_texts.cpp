#include "swedish_texts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QtGlobal>

#include <cstring>

namespace karvelo {
namespace {

// Qt's Swedish catalogues, best first: newer Qt ships one per module, and the program
// needs only the base module's; Debian 12 has the older catalogue of all of Qt.
constexpr const char* kCatalogues[] = {"qtbase_sv.qm", "qt_sv.qm"};

// Contexts whose texts the older catalogue keeps under the name they had then.
struct MovedContext {
    const char* now;
    const char* before;
};
constexpr MovedContext kMovedContexts[] = {
    {"QPlatformTheme", "QDialogButtonBox"},    // OK, Avbryt, Ja, Nej on every dialog
    {"QGnomeTheme", "QDialogButtonBox"},       // the same under the GNOME desktop
    {"QWidgetTextControl", "QTextControl"},    // the statistics text's menu
};

// Texts the player can meet for which no catalogue has Swedish.
struct OwnText {
    const char* context;
    const char* source;
    const char* swedish;
};
constexpr OwnText kOwnTexts[] = {
    {"QColorDialog", "&Pick Screen Color", "H\xC3\xA4mta f\xC3\xA4rg fr\xC3\xA5n &sk\xC3\xA4rmen"},
    {"QColorDialog", "Cursor at %1, %2\nPress ESC to cancel",
     "Mark\xC3\xB6ren vid %1, %2\nTryck Esc f\xC3\xB6r att avbryta"},
    {"QAbstractSpinBox", "&Select All", "&Markera alla"},
};

bool Same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

QString SwedishQtTexts::Filler::translate(const char* context, const char* sourceText,
                                          const char* disambiguation, int n) const {
    if (!context || !sourceText) return {};
    for (const OwnText& t : kOwnTexts)
        if (Same(context, t.context) && Same(sourceText, t.source))
            return QString::fromUtf8(t.swedish);
    for (const MovedContext& m : kMovedContexts)
        if (Same(context, m.now)) return catalogue_.translate(m.before, sourceText, disambiguation, n);
    return {};
}

SwedishQtTexts::SwedishQtTexts() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : kCatalogues) {
        // The exact file: QTranslator's own search would also try names without
        // the language, which are not Swedish.
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        if (QFileInfo(path).isFile() && qt_.load(path)) {
            catalogue_ = path;
            break;
        }
    }
    if (catalogue_.isEmpty())
        qWarning("Qt's Swedish translations are missing from %s (Debian: qt6-translations-l10n); "
                 "Qt's dialogs will be partly English.",
                 qUtf8Printable(folder));
    // The most recently installed translator is asked first, so the catalogue's own
    // texts win and the filler is asked only for what it lacks.
    QCoreApplication::installTranslator(&filler_);
    if (!catalogue_.isEmpty()) QCoreApplication::installTranslator(&qt_);
}

}  // namespace karvelo
