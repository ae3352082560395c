#include "DataBackWindow.h"
#include "BackupService.h"
#include "DataModule.h"
#include "MessageBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace korvan {

DataBackWindow::DataBackWindow(DataModule &dm, QWidget *parent) : QDialog(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TFrmDataBack"));
    setWindowTitle(QStringLiteral("系统备份及恢复"));

    chooseFolder = [this](const QString &start) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("选择文件路径"), start);
    };
    askRestorePassword = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString typed = QInputDialog::getText(this, QStringLiteral("密码提示"), QStringLiteral("请输入恢复密码"),
                                                    QLineEdit::Password, QString(), &ok);
        if (!ok) return std::nullopt;
        return typed;
    };
    chooseBackupFile = [this](const QString &folder) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("打开"), folder,
                                            QStringLiteral("备份文件 (*.back);;所有文件 (*.*)"));
    };
    restartApplication = [] {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
        QCoreApplication::exit(0);
    };

    const auto button = [](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(88);
        return b;
    };
    auto *btnBackup = button(QStringLiteral("备份"), "btnBackup");
    m_btnRestore = button(QStringLiteral("恢复"), "btnRestore");
    auto *top = new QHBoxLayout;
    top->addWidget(btnBackup);
    top->addWidget(m_btnRestore);
    top->addStretch();

    auto *pathGroup = new QGroupBox(QStringLiteral("备份路径"));
    pathGroup->setObjectName(QStringLiteral("gbPath"));
    m_path = new QLineEdit;
    m_path->setObjectName(QStringLiteral("edtPath"));
    m_path->setMinimumWidth(320);
    m_path->setAccessibleName(QStringLiteral("备份路径"));
    auto *folder = new QPushButton(QStringLiteral("..."));
    folder->setObjectName(QStringLiteral("btnPath"));
    folder->setFixedWidth(32);
    folder->setAccessibleName(QStringLiteral("选择文件路径"));
    auto *label = new QLabel(QStringLiteral("路径："));
    label->setBuddy(m_path);
    auto *note = new QLabel(QStringLiteral("注意：路径指的是数据库所在机器上的目录"));
    note->setObjectName(QStringLiteral("lblNote"));
    note->setStyleSheet(QStringLiteral("color: #b03020;"));
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(label);
    pathRow->addWidget(m_path);
    pathRow->addWidget(folder);
    auto *pathLayout = new QVBoxLayout(pathGroup);
    pathLayout->addLayout(pathRow);
    pathLayout->addWidget(note);
    const QString engineNote = BackupEngineNote(dm.db());
    if (!engineNote.isEmpty()) {
        auto *engine = new QLabel(engineNote);
        engine->setObjectName(QStringLiteral("lblEngine"));
        engine->setWordWrap(true);
        pathLayout->addWidget(engine);
    }

    auto *autoGroup = new QGroupBox(QStringLiteral("自动备份"));
    autoGroup->setObjectName(QStringLiteral("rgAutoBackup"));
    m_auto = new QButtonGroup(this);
    auto *autoLayout = new QGridLayout(autoGroup);
    const QStringList modes{QStringLiteral("不备份"), QStringLiteral("每次系统启动备份"), QStringLiteral("每周星期一备份"),
                            QStringLiteral("每月一号备份")};
    for (int i = 0; i < modes.size(); ++i) {
        auto *radio = new QRadioButton(modes[i]);
        radio->setObjectName(QStringLiteral("rbAuto%1").arg(i));
        m_auto->addButton(radio, i);
        autoLayout->addWidget(radio, i / 2, i % 2);
    }

    auto *ok = button(QStringLiteral("确定"), "btnOK");
    auto *close = button(QStringLiteral("关闭"), "btnClose");
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pathGroup);
    layout->addWidget(autoGroup);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnBackup, &QPushButton::clicked, this, &DataBackWindow::backupClick);
    connect(m_btnRestore, &QPushButton::clicked, this, &DataBackWindow::restoreClick);
    connect(folder, &QPushButton::clicked, this, &DataBackWindow::folderClick);
    connect(ok, &QPushButton::clicked, this, &DataBackWindow::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_path->setText(BackupService(dm).backupFolder());
    const int mode = dm.settings().autoBackupMode();
    if (QAbstractButton *b = m_auto->button(mode >= 0 && mode <= 3 ? mode : 0)) b->setChecked(true);
    DispFormPos(this, 1);
}

void DataBackWindow::folderClick()
{
    const QString current = m_path->text().trimmed();
    const QString chosen = QDir::toNativeSeparators(chooseFolder(current)).trimmed();
    if (!chosen.isEmpty() && chosen != current) m_path->setText(chosen);
}

void DataBackWindow::okClick()
{
    if (BackupService(m_dm).saveSettings(m_path->text(), m_auto->checkedId()))
        accept();
    else
        m_path->setFocus();
}

void DataBackWindow::backupClick() { BackupService(m_dm).backup(m_path->text()); }

void DataBackWindow::restoreClick()
{
    const std::optional<QString> typed = askRestorePassword();
    if (!typed || !BackupService::checkRestorePassword(*typed)) return;
    const QString file = chooseBackupFile(QDir::fromNativeSeparators(m_path->text().trimmed()));
    if (file.isEmpty()) return;
    bool started = false;
    const auto busy = [&](bool on) {
        if (on) {
            started = true;
            m_btnRestore->setEnabled(false);
            setWindowTitle(QStringLiteral("正在恢复数据...."));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    const BackupService::RestoreResult result = BackupService(m_dm).restore(file, busy);
    if (started) {
        m_btnRestore->setEnabled(true);
        setWindowTitle(QStringLiteral("数据备份及恢复"));
    }
    if (result == BackupService::RestoreResult::Restored || result == BackupService::RestoreResult::RestoredRestart) {
        // Windows still open would show data of before the restore.
        if (QWidget *main = parentWidget())
            if (auto *mdi = main->findChild<QMdiArea *>()) mdi->closeAllSubWindows();
    }
    if (result == BackupService::RestoreResult::RestoredRestart) restartApplication();
}

} // namespace korvan
