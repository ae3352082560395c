#include "Passwords.h"

#include <sodium.h>

namespace korvan {

namespace {
bool sodiumReady()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}
} // namespace

QString SavePass(const QString &plain)
{
    if (!sodiumReady()) return {};
    const QByteArray pw = plain.trimmed().toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, pw.constData(), pw.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QString::fromLatin1(out);
}

bool VerifyPass(const QString &stored, const QString &plain)
{
    if (!sodiumReady() || stored.isEmpty()) return false;
    const QByteArray hash = stored.toLatin1();
    const QByteArray pw = plain.trimmed().toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), pw.constData(), pw.size()) == 0;
}

} // namespace korvan
