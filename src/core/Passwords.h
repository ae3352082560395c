#pragma once
#include <QString>

namespace korvan {

// SavePass: the stored form of a password (an argon2id hash). Passwords are
// trimmed before hashing and before verifying, as the login compares them.
QString SavePass(const QString &plain);
// Whether `plain` matches the stored form. Nothing ever decodes a stored password.
bool VerifyPass(const QString &stored, const QString &plain);

} // namespace korvan
