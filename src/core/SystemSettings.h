#pragma once
#include "AppSettings.h"

#include <QString>
#include <array>

namespace korvan {
class DataModule;

// The company row of SysInfo as the company information window edits it.
struct CompanyInfo {
    QString name;      // F_Code
    QString address;   // F_Name
    QString manager;   // F_Manager
    QString phone;     // F_Phone
    QString mobile;    // F_HandPhone
    QString homepage;  // F_Homepage
    QString email;     // F_Email
    QString legalRep;  // F_Enroler
    QString profile;   // F_Mem
};

// The first SysInfo row (empty values when there is none).
CompanyInfo LoadCompanyInfo(DataModule &dm);
// Stores the trimmed values (adding the row when the table has none) and
// passes name, telephone and mobile to the session as CompanyName,
// CompanyPhone and CompanyFax. On failure shows the data-service message,
// changes nothing and returns false.
bool SaveCompanyInfo(DataModule &dm, const CompanyInfo &info);

// Letters A–Z/a–z, digits and "@-._" only; one part before the first "@" and
// a host part of more than three characters with at least three characters
// after its first dot; no "..".
bool IsValidEmail(const QString &address);
// What a double click on the home page box opens: empty for a blank text,
// else the text with "http://" in front when it names no scheme.
QString homePageUrl(const QString &text);
// The mail link for an address that passes IsValidEmail, else empty.
QString mailToUrl(const QString &text);

// Everything the software settings window edits.
struct SoftwareSettings {
    SystemSwitches switches;
    int printRows = 5;        // config.ini iprintNum, 5 to 20
    bool barcodeInput = false; // config.ini bTM
    std::array<QString, 11> fieldCaptions;  // KeyValue.F_Value, rows in F_ID order
    std::array<bool, 11> fieldVisible{};   // KeyValue.F_Flag

    // The two default-price switches exclude each other: turning one on turns the other off.
    void setLastPrice(bool on);
    void setLastSupplierPrice(bool on);
};

inline constexpr int kMinDecimals = 0, kMaxDecimals = 10;
inline constexpr int kMinPrintRows = 5, kMaxPrintRows = 20;

// The values of the running system (data module and session).
SoftwareSettings CurrentSoftwareSettings(DataModule &dm);
// Writes KeyValue and SysInfo in one transaction and config.ini's iprintNum
// and bTM; then the running system takes the values at once (switches,
// display formats, print rows, bar code input, user field captions). When
// anything fails nothing is changed anywhere, the data-service message is
// shown and false returned. Out-of-range numbers are brought into range.
bool SaveSoftwareSettings(DataModule &dm, SoftwareSettings settings);

} // namespace korvan
