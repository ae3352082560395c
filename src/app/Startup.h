#pragma once
#include "DataModule.h"

#include <functional>
#include <memory>

namespace korvan {

class SplashWindow;

// The connection part of start-up: connect to the configured database and,
// when that fails, let the operator choose the database folder and retry.
class Startup {
public:
    explicit Startup(AppSettings &settings);

    // Picks a database file in the recovery dialog; empty = cancelled.
    std::function<QString(const QString &startFolder)> chooseDatabaseFile;

    // Null when the operator cancelled the recovery dialog.
    std::unique_ptr<DataModule> connect(SplashWindow *&splash);

private:
    std::unique_ptr<Database> tryConnect(QString *error);
    AppSettings &m_settings;
};

} // namespace korvan
