#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace korvan {

IniFile::IniFile(QString path) : m_path(std::move(path)) { reload(); }

void IniFile::reload()
{
    m_lines.clear();
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QString section;
    const QStringList rows = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString raw : rows) {
        if (raw.endsWith(QLatin1Char('\r'))) raw.chop(1);
        const QString t = raw.trimmed();
        Line line;
        line.raw = raw;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
            line.section = section;
        } else if (!t.isEmpty() && !t.startsWith(QLatin1Char(';')) && t.contains(QLatin1Char('='))) {
            line.section = section;
            line.key = t.section(QLatin1Char('='), 0, 0).trimmed();
            line.value = raw.mid(raw.indexOf(QLatin1Char('=')) + 1);
        } else {
            line.section = section;
        }
        m_lines << line;
    }
    while (!m_lines.isEmpty() && m_lines.last().raw.isEmpty()) m_lines.removeLast();
}

int IniFile::find(const QString &section, const QString &key) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &l = m_lines[i];
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0
            && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::value(const QString &section, const QString &key, const QString &def) const
{
    const int i = find(section, key);
    return i < 0 ? def : m_lines[i].value;
}

int IniFile::intValue(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int v = value(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool IniFile::boolValue(const QString &section, const QString &key, bool def) const
{
    const QString v = value(section, key).trimmed();
    if (v.isEmpty()) return def;
    if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n != 0 : def;
}

bool IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const int i = find(section, key);
    if (i >= 0) {
        m_lines[i].value = value;
        m_lines[i].raw = m_lines[i].key + QLatin1Char('=') + value;
        return save();
    }
    // Append to the end of the section, creating the section when needed.
    int insertAt = -1;
    bool inSection = false;
    for (int j = 0; j < m_lines.size(); ++j) {
        const Line &l = m_lines[j];
        const bool header = l.raw.trimmed().startsWith(QLatin1Char('['));
        if (header) inSection = l.section.compare(section, Qt::CaseInsensitive) == 0;
        if (inSection) insertAt = j + 1;
    }
    Line line{section, key, value, key + QLatin1Char('=') + value};
    if (insertAt < 0) {
        m_lines << Line{section, {}, {}, QLatin1Char('[') + section + QLatin1Char(']')};
        m_lines << line;
    } else {
        m_lines.insert(insertAt, line);
    }
    return save();
}

bool IniFile::save() const
{
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QByteArray out;
    for (const Line &l : m_lines) out += l.raw.toUtf8() + '\n';
    f.write(out);
    return f.commit();
}

} // namespace korvan
