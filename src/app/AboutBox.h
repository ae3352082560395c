#pragma once
#include <QDialog>

namespace korvan {

// The maker's own data, shown in the about box and the status bar.
inline const QString kMakerName = QStringLiteral("Korvan 软件工作室");
inline const QString kMakerWebsite = QStringLiteral("https://korvan.example");
inline const QString kMakerEmail = QStringLiteral("support@korvan.example");
inline const QString kMakerContactLine = QStringLiteral("技术支持：") + kMakerEmail;

// TfrmAboutInfo: the product, its maker and how to reach him.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);
};

} // namespace korvan
