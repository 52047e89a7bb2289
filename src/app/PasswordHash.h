#pragma once

#include <QString>

// Operator passwords are kept as libsodium argon2id hashes; no password is stored
// or compared as plain text.
namespace password_hash {

// The work a new hash costs. The application keeps libsodium's interactive cost.
// Tests hash a password for nearly every login they drive and choose the minimal
// cost, which is hundreds of times cheaper.
enum class Cost { Interactive, Minimal };

// Process-wide; applies to the hashes made from then on. A stored hash carries its
// own cost, so verify() accepts hashes of either cost whatever is set.
void setCost(Cost cost);
Cost cost();

QString hash(const QString& password);
// False also for a stored text that is no hash at all.
bool verify(const QString& storedHash, const QString& password);

} // namespace password_hash
