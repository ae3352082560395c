#pragma once
#include <QString>
#include <QList>
#include <QPair>

namespace korvan {

// A small ini file whose section and key names match without regard to case
// ("Config"/"config", "iprintNum"/"iPrintNum" address one entry). Every set()
// writes the file at once; a missing file reads as empty and is created on the
// first write. Unknown lines are kept as they stand.
class IniFile {
public:
    explicit IniFile(QString path);

    QString path() const { return m_path; }
    void reload();

    QString value(const QString &section, const QString &key, const QString &def = {}) const;
    int intValue(const QString &section, const QString &key, int def) const;
    bool boolValue(const QString &section, const QString &key, bool def) const;

    bool setValue(const QString &section, const QString &key, const QString &value);
    bool setInt(const QString &section, const QString &key, int v) { return setValue(section, key, QString::number(v)); }
    bool setBool(const QString &section, const QString &key, bool v) { return setValue(section, key, v ? QStringLiteral("1") : QStringLiteral("0")); }

private:
    struct Line { QString section; QString key; QString value; QString raw; };
    int find(const QString &section, const QString &key) const;
    bool save() const;

    QString m_path;
    QList<Line> m_lines;
};

} // namespace korvan
