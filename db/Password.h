#pragma once

#include <QString>

// The stored form of a logon password (viri.ini PASSWORD_): hexadecimal digits, four for
// the key followed by two for each character of the password. Each character, as a byte of
// the system's 8-bit code page (windows-1251), is combined by exclusive or with the next
// byte of a key stream: s := key; for the i-th character (from 0)
// s := (s * 40503 + 12345 + i) mod 65536, and the byte is (s div 256) xor (s mod 256).

// The fixed word: a stored value that is empty, or equal to it compared in upper case,
// stands for the word itself.
extern const QString FixedPasswordWord;
// The encoded default used when the key is missing; it decodes to FixedPasswordWord.
extern const QString DefaultEncodedPassword;

// Decodes a stored value. A value that is not in the encoded form (fewer than four digits,
// or a character that is not a hexadecimal digit) is taken as the password itself; a
// trailing odd digit is ignored.
QString _Pwd(const QString &Stored);

// The stored form of Password under Key (upper-case digits).
QString EncodePassword(const QString &Password, quint16 Key);
