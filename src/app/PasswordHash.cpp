#include "app/PasswordHash.h"

#include <sodium.h>

#include <atomic>
#include <stdexcept>

namespace password_hash {
namespace {

std::atomic<Cost> currentCost{Cost::Interactive};

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium could not be initialised");
}

} // namespace

void setCost(Cost cost)
{
    currentCost = cost;
}

Cost cost()
{
    return currentCost;
}

QString hash(const QString& password)
{
    ensureSodium();
    const bool minimal = currentCost == Cost::Minimal;
    const unsigned long long opsLimit =
        minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const std::size_t memLimit = minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()), opsLimit,
                          memLimit) != 0) {
        throw std::runtime_error("out of memory while hashing a password");
    }
    return QString::fromLatin1(out);
}

bool verify(const QString& storedHash, const QString& password)
{
    ensureSodium();
    const QByteArray stored = storedHash.trimmed().toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray utf8 = password.toUtf8();
    // The cost is read from the stored text, not from setCost().
    return crypto_pwhash_str_verify(stored.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}

} // namespace password_hash
