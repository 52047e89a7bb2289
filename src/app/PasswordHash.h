#pragma once

#include <QString>

// Operator passwords are kept as libsodium argon2id hashes; no password is stored
// or compared as plain text.
namespace password_hash {

QString hash(const QString& password);
// False also for a stored text that is no hash at all.
bool verify(const QString& storedHash, const QString& password);

} // namespace password_hash
