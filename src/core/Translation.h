#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace translation {

// The translation that suits the user's preferred languages, most wanted first (as
// QLocale::uiLanguages gives them): "en" for English. Chinese is the interface's own language,
// so an empty result means no translation, and so does a language without a translation
// ("C" included).
QString chooseFor(const QStringList &uiLanguages);

// Installs the translation that chooseFor picks for the system locale; returns its code
// (empty when the Chinese source texts stay; Qt's own texts are then shown in Chinese too).
QString installFor(QCoreApplication &application);

} // namespace translation
