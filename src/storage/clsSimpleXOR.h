#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <stdexcept>

// Failure of a scrambler operation. number() is the error number callers may test;
// 0x80040000 for a missing source file.
class XorError : public std::runtime_error {
public:
    XorError(unsigned number, const QString &description);
    unsigned number() const { return m_number; }
    QString description() const { return QString::fromUtf8(what()); }

private:
    unsigned m_number;
};

// Repeating-key exclusive-or scrambler for byte arrays, strings and files. Scrambling and
// unscrambling are the same operation. The last non-empty key given is kept and used by calls
// that pass an empty key.
//
// Text to bytes (strings and keys): GB18030, which agrees with code page 936 for the GBK
// characters and covers all of Unicode; U+F780..U+F7FF stand for the raw bytes 0x80..0xFF.
// Bytes to text: the GB18030 text if the bytes are valid GB18030, re-encode to the same bytes and
// hold no U+F780..U+F7FF; otherwise bytes below 0x80 as ASCII and every other byte b as
// U+F700 + b. So DecryptString(EncryptString(t)) == t for any t without U+F780..U+F7FF, the
// same input always scrambles to the same string, and U+0000 survives.
class clsSimpleXOR : public QObject {
    Q_OBJECT
public:
    static constexpr unsigned ErrSourceMissing = 0x80040000u;
    static constexpr unsigned ErrEmptyFile = 0x80040001u;
    static constexpr unsigned ErrNoKey = 0x80040002u;
    static constexpr unsigned ErrIo = 0x80040003u;

    explicit clsSimpleXOR(QObject *parent = nullptr);

    void setKey(const QString &newValue); // the write-only property Key

    void EncryptFile(const QString &SourceFile, const QString &DestFile, const QString &Key);
    void DecryptFile(const QString &SourceFile, const QString &DestFile, const QString &Key);
    void DecryptByte(QByteArray &ByteArray, const QString &Key);
    void EncryptByte(QByteArray &ByteArray, const QString &Key);
    QString EncryptString(const QString &Text, const QString &Key);
    QString DecryptString(const QString &Text, const QString &Key);

signals:
    void Progress(int Percent);

private:
    void xorFile(const QString &source, const QString &dest, const QString &key, bool encrypt);

    QString m_Key;
    int m_KeyLen = 0;
    QByteArray m_KeyBytes;
    QByteArray m_Pattern; // the first m_KeyLen key bytes repeated, for whole-word XOR
};
