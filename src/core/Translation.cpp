#include "core/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace translation {

namespace {
// The translations built into the program, besides Chinese.
const QStringList &available() {
    static const QStringList codes{QStringLiteral("en")};
    return codes;
}
} // namespace

QString chooseFor(const QStringList &uiLanguages) {
    for (const QString &name : uiLanguages) {
        const QLocale locale(name);
        if (locale.language() == QLocale::Chinese)
            return {};
        const QString code = QLocale::languageToCode(locale.language());
        // QLocale reads an unknown name such as "C" as the C locale; skip it.
        if (locale.language() != QLocale::C && available().contains(code))
            return code;
    }
    return {};
}

QString installFor(QCoreApplication &application) {
    const QString code = chooseFor(QLocale::system().uiLanguages());
    if (code.isEmpty()) {
        // Qt's own texts (the buttons of message boxes and file dialogs) in Chinese as well.
        auto *qt = new QTranslator(&application);
        if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        return {};
    }
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/i18n/ombrivo_%1.qm").arg(code))) {
        delete translator;
        return {};
    }
    QCoreApplication::installTranslator(translator);
    return code;
}

} // namespace translation
