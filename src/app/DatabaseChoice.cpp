#include "DatabaseChoice.h"
#include "AppSettings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace korvan {

DatabaseChoice::DatabaseChoice(AppSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("dlgDatabaseChoice"));
    setWindowTitle(QStringLiteral("连接网络数据库"));
    chooseFile = [this](const QString &start) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("连接网络数据库"), start,
                                            QStringLiteral("数据库文件 (depot.db *.db);;所有文件 (*)"));
    };

    m_sqlite = new QRadioButton(QStringLiteral("本机数据库文件"));
    m_sqlite->setObjectName(QStringLiteral("rbSqlite"));
    m_postgres = new QRadioButton(QStringLiteral("PostgreSQL 数据库服务器（多台电脑共用数据）"));
    m_postgres->setObjectName(QStringLiteral("rbPostgres"));

    m_folder = new QLineEdit(QDir::toNativeSeparators(settings.databaseFolder()));
    m_folder->setObjectName(QStringLiteral("edtFolder"));
    m_folder->setMinimumWidth(360);
    auto *folderLabel = new QLabel(QStringLiteral("数据库文件夹："));
    folderLabel->setBuddy(m_folder);
    auto *browse = new QToolButton;
    browse->setObjectName(QStringLiteral("btnBrowse"));
    browse->setText(QStringLiteral("浏览..."));
    auto *note = new QLabel(QStringLiteral("文件夹中的 depot.db 只供一台电脑使用；放在网络共享文件夹中并不安全，"
                                           "多台电脑共用数据请连接 PostgreSQL 服务器。"));
    note->setWordWrap(true);

    m_url = new QLineEdit(settings.pgUrl());
    m_url->setObjectName(QStringLiteral("edtPgUrl"));
    m_url->setPlaceholderText(QStringLiteral("postgresql://用户:密码@主机:5432/数据库"));
    auto *urlLabel = new QLabel(QStringLiteral("服务器地址："));
    urlLabel->setBuddy(m_url);

    auto *grid = new QGridLayout;
    grid->addWidget(m_sqlite, 0, 0, 1, 3);
    grid->addWidget(folderLabel, 1, 0);
    grid->addWidget(m_folder, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(note, 2, 1, 1, 2);
    grid->addWidget(m_postgres, 3, 0, 1, 3);
    grid->addWidget(urlLabel, 4, 0);
    grid->addWidget(m_url, 4, 1, 1, 2);

    auto *whenLabel = new QLabel(QStringLiteral("所选数据库在下次启动本软件时使用。"));
    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("btnCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(whenLabel);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    (settings.pgUrl().isEmpty() ? m_sqlite : m_postgres)->setChecked(true);
    connect(m_sqlite, &QRadioButton::toggled, this, &DatabaseChoice::updateState);
    connect(browse, &QToolButton::clicked, this, &DatabaseChoice::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &DatabaseChoice::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateState();
}

void DatabaseChoice::updateState()
{
    const bool sqlite = m_sqlite->isChecked();
    m_folder->setEnabled(sqlite);
    findChild<QToolButton *>(QStringLiteral("btnBrowse"))->setEnabled(sqlite);
    m_url->setEnabled(!sqlite);
}

void DatabaseChoice::browse()
{
    const QString file = chooseFile(m_settings.appDir());
    if (!file.isEmpty()) m_folder->setText(QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
}

void DatabaseChoice::accept()
{
    if (m_sqlite->isChecked()) {
        const QString folder = m_folder->text().trimmed();
        if (folder.isEmpty()) return;
        m_settings.setPgUrl(QString());
        m_settings.setDatabaseFolder(QDir::fromNativeSeparators(folder));
    } else {
        if (m_url->text().trimmed().isEmpty()) return;
        m_settings.setPgUrl(m_url->text());
    }
    QDialog::accept();
}

} // namespace korvan
