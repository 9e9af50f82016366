#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <stdexcept>

class Vault;

// The data file lies scrambled on disk while the program is not running.
namespace datafile {

constexpr char kFileName[] = "SystemData.dat";
constexpr char kScrambleKey[] = "tarnwick";

// The data file could not be brought into use; the file is left exactly as it was found.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens the data file at `path`: writes `scrambledTemplate` first when there is none; uses the
// file as it is when it already opens (a run that crashed left it unscrambled); otherwise
// unscrambles it into a temporary file beside it, and only when that opens does it replace the
// original.
std::unique_ptr<Vault> open(const QString &path, const QByteArray &scrambledTemplate);

// Scrambles the (closed) data file in place, through a temporary file.
void scramble(const QString &path);

} // namespace datafile
