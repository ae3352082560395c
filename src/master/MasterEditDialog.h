#pragma once
#include "MasterCommon.h"
#include "MasterList.h"

#include <QDialog>
#include <QHash>
#include <QVariantMap>
#include <functional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace korvan {

class DataModule;

// One box of an edit window, bound to a column.
enum class FieldKind { Text, Memo, Combo, Check, Money, Number, Date };
struct EditField {
    QString column;      // t_… column, e.g. F_Name
    QString name;        // the box's objectName
    QString label;       // "货品名称："; for a check box its caption
    FieldKind kind = FieldKind::Text;
    QStringList items;   // fixed drop-down entries
    int span = 1;        // label+box pairs it covers in its row
    // A control beside the box (a picker button, the "自动" tick).
    std::function<QWidget *(QWidget *parent)> side;
};

// The edit window of goods, suppliers and employees: new and edit modes,
// "连续新增", the navigator over the list's rows, "确定"/"取消", validation
// messages with the focus on the faulty box, save in one transaction, the
// save right. A window declares its boxes and implements save().
class MasterEditDialog : public QDialog {
    Q_OBJECT
public:
    struct Config {
        QString table;               // where a row is read by F_ID
        QString captionNew, captionEdit;
        bool continueByDefault = true;
        bool mayEdit = false;        // the save right
        QString continueFocus;       // column focused after a continuous add
    };
    MasterEditDialog(DataModule &dm, RowCursor *rows, Config config, QWidget *parent = nullptr);

    // EditGoods / EditPartner / EditEmployee: mode 0 new, 1 edit of the
    // current row of the list. Shows the window modally.
    int edit(int mode);
    // A new record asked for by a picker: no continuous add, no navigator;
    // after the save the picker's list is reopened and the window closes.
    void setPickerMode(bool on) { m_pickerMode = on; }
    bool isNew() const { return m_new; }
    bool pickerMode() const { return m_pickerMode; }
    qint64 editedId() const { return m_id; }
    // The code of the last saved record.
    QString savedCode() const { return m_savedCode; }

    QWidget *fieldWidget(const QString &column) const { return m_widgets.value(column.toLower()); }
    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value);
    QLabel *labelOf(const QString &column) const;
    // Shows or hides a box with its label (and what sits beside it).
    void setFieldVisible(const QString &column, bool visible);

    void okClick();
    void navigate(int row);

protected:
    DataModule &dm() { return m_dm; }
    // Lays out the boxes in `columns` label+box pairs per row.
    QWidget *addFields(const QList<EditField> &fields, int columns, QWidget *parent = nullptr);
    // Puts the window's body above the bottom row (连续新增, navigator, buttons).
    void setBody(QWidget *body);
    // Builds the bottom row; the subclass calls it after setBody().
    void finishLayout();

    // Before the fields are filled for `mode` (fill drop-downs).
    virtual void prepare(int mode) { Q_UNUSED(mode); }
    // Shows a stored row (edit mode and navigator); the default fills the boxes.
    virtual void loadRecord(const QVariantMap &row);
    // Empties the window for a new record.
    virtual void clearRecord();
    // Checks and writes the boxes' values; fills `code` with the saved code.
    virtual MasterResult save(const QVariantMap &values, QString &code) = 0;
    QVariantMap values() const;

    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QCheckBox *m_continue = nullptr;

private:
    void loadCurrent();

    DataModule &m_dm;
    RowCursor *m_rows;
    Config m_config;
    QHash<QString, QWidget *> m_widgets;  // lower-case column → box
    QHash<QString, FieldKind> m_kinds;
    QHash<QString, QWidget *> m_cells;    // the box, or the box with what sits beside it
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_navigator = nullptr;
    bool m_new = true;
    bool m_pickerMode = false;
    qint64 m_id = 0;
    QString m_savedCode;
};

} // namespace korvan
