#pragma once

#include <QStringList>
#include <optional>

// The program takes no arguments of its own besides --help and --version. Qt's display options
// (-platform, -display, -session, -style) pass through to the application object.
namespace commandline {

struct Outcome {
    int exitCode = 0;
    QString output; // for standard output
    QString error;  // for standard error
};

// Reads the arguments (the program's name first). No value means: start the program.
// Needs a QCoreApplication for the texts of --help.
std::optional<Outcome> handle(const QStringList &arguments);

} // namespace commandline
