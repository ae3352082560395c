#pragma once
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

namespace korvan {

// The report font: a TrueType face whose text extracts correctly from PDFs.
inline const QString kReportFontFamily = QStringLiteral("WenQuanYi Micro Hei");

// A report layout is plain data. Lengths are integers in 0.01 mm; font sizes
// are points. Files are versioned JSON; keys this version does not know are
// kept in `extra` and written back unchanged.
enum class BandKind { PageHeader, Title, ColumnHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

QString bandKindName(BandKind kind);        // "pageHeader"…
std::optional<BandKind> bandKindFromName(const QString &name);
QString bandCaption(BandKind kind);         // "页眉"…
QList<BandKind> allBandKinds();             // in page order

enum class Overflow { Shrink, Wrap, Clip };
enum Border { BorderLeft = 1, BorderTop = 2, BorderRight = 4, BorderBottom = 8, BorderAll = 15 };

struct ReportFont {
    QString family = kReportFontFamily;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool operator==(const ReportFont &) const = default;
};

struct ReportItem {
    enum class Type { Text, Line, Rect };
    Type type = Type::Text;
    QString name;
    int x = 0, y = 0, w = 2000, h = 500;   // relative to the band
    QString text;                          // literal text with [expressions]
    ReportFont font;
    int align = Qt::AlignLeft | Qt::AlignVCenter;
    int borders = 0;                       // Border bits; a line item ignores them
    int borderWidth = 20;
    QColor color = Qt::black;
    QColor fill;                           // invalid = none
    QString format;                        // applied to the values of the expressions
    Overflow overflow = Overflow::Shrink;
    bool dataColors = false;               // take the data set's cell colours (grid printing)
    QJsonObject extra;
};

struct ReportBand {
    BandKind kind = BandKind::Detail;
    int height = 600;
    QString dataSet;         // detail: the data set it runs over ("frxDD", "frxDM")
    QString condition;       // group header: the expression whose change starts a group
    QString rowsPerPage;     // detail: expression; > 0 gives that many rows per page, blank rows filling the last
    bool autoHeight = false; // detail: rows grow to fit wrapped text
    bool atBottom = true;    // page footer: at the foot of the page, else right after the rows
    QList<ReportItem> items;
    QJsonObject extra;
};

struct PageSetup {
    int width = 21000, height = 29700;
    int left = 1000, top = 1000, right = 1000, bottom = 1000;
    int contentWidth() const { return width - left - right; }
    int contentHeight() const { return height - top - bottom; }
    bool operator==(const PageSetup &) const = default;
};

struct ReportVariable {
    QString name;
    QString category;
    bool operator==(const ReportVariable &) const = default;
};

struct ReportLayout {
    static constexpr int kVersion = 1;
    static inline const QString kFormat = QStringLiteral("korvan-report");

    QString name;
    QString kind;            // "document", "list", "grid"
    QString title;
    PageSetup page;
    QList<ReportVariable> variables;
    QList<ReportBand> bands;
    QJsonObject extra;

    ReportBand *band(BandKind kind);
    const ReportBand *band(BandKind kind) const;
    // Puts the band in page order, replacing one of the same kind.
    ReportBand &setBand(const ReportBand &band);

    QByteArray toJson() const;
    static std::optional<ReportLayout> fromJson(const QByteArray &json, QString *error = nullptr);
    bool save(const QString &path, QString *error = nullptr) const;
    static std::optional<ReportLayout> load(const QString &path, QString *error = nullptr);
};

} // namespace korvan
