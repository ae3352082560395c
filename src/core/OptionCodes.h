#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace korvan {
class DataModule;

// One list of t_code, told apart by its type word (F_Type).
struct OptionPage {
    QString type;     // F_Type value
    QString pageName; // the tab page's object name: "t" + type
    QString caption;  // the tab caption
};

// The eight lists the option code window edits, in page order.
const QList<OptionPage> &optionPages();
const OptionPage *optionPage(const QString &type);

// The entries of one type as the option code window holds them: changes stay
// pending until save() writes them all in one transaction or cancel() drops them.
class OptionCodeList {
public:
    struct Row {
        qint64 id = 0; // 0 for an entry not yet stored
        QString name;
    };

    // Reads the list of `type` in entry order; pending changes are dropped.
    // On failure the list is empty and the data-service message was shown.
    bool load(DataModule &dm, const QString &type);
    // Reads the current type again.
    bool reload(DataModule &dm) { return load(dm, m_type); }

    QString type() const { return m_type; }
    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const Row &row(int i) const { return m_rows.at(i); }

    // Pending changes.
    int append();                                // a new empty entry; returns its row
    void setName(int i, const QString &name);
    void remove(int i);
    bool hasPending() const;

    // Writes every pending insert, rename and deletion of the list in one
    // transaction and reads the list again. On failure nothing is written,
    // the changes stay pending and `failText` is shown.
    bool save(DataModule &dm, const QString &failText = saveFailMessage());
    void cancel() { m_rows = m_stored; }

    static QString saveFailMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }

private:
    QString m_type;
    QList<Row> m_stored;
    QList<Row> m_rows;
};

// The names of a list as drop-down boxes offer them: blank entries left out,
// each name once, in entry order.
QStringList OptionNames(DataModule &dm, const QString &type);

// The option code picker's lists: the non-blank names of `type`, by name,
// either all of them or those containing `name` (trimmed; letter case ignored).
QStringList PickerNames(DataModule &dm, const QString &type);
QStringList SearchOptionCodes(DataModule &dm, const QString &type, const QString &name);
// Stores a new entry at once; false (message shown) when it fails.
bool AddOptionCode(DataModule &dm, const QString &type, const QString &name);

} // namespace korvan
