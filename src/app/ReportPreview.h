#pragma once
#include "ReportEngine.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace korvan {

class ReportPageView;

// The print preview: pages at any zoom, navigation, search with highlight,
// printing through the system dialog, page setup and PDF export.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreview(ReportJob job, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const ReportJob &job() const { return m_job; }
    const ReportDocument &document() const { return m_doc; }

    int currentPage() const { return m_page; }
    void goToPage(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double factor);
    void fitWidth();
    void fitPage();

    // Highlights every text holding `text` and shows the first match from the
    // current page on; returns the number of matches.
    int find(const QString &text);
    bool findNext();
    struct Match { int page; int text; };
    QList<Match> matches() const { return m_matches; }
    int currentMatch() const { return m_match; }

    bool exportPdf(const QString &path);
    bool print();
    bool pageSetup();
    // Lays the pages out again, after a change of page or layout.
    void refresh();

    // The dialogs, replaceable for tests.
    std::function<QString(const QString &proposed)> choosePdfFile;
    std::function<bool(QPrinter &)> runPrintDialog;
    std::function<bool(QPrinter &)> runPageSetupDialog;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    friend class ReportPageView;
    void buildUi();
    void updateControls();
    void scrolled();
    void applyZoomText(const QString &text);
    void setPrinterPage(QPrinter &printer) const;

    ReportJob m_job;
    ReportDocument m_doc;
    int m_page = 0;
    double m_zoom = 1.0;
    enum class Fit { None, Width, Page } m_fit = Fit::Width;
    bool m_refitting = false;
    QList<Match> m_matches;
    int m_match = -1;

    ReportPageView *m_view = nullptr;
    QScrollArea *m_scroll = nullptr;
    QSpinBox *m_pageBox = nullptr;
    QLabel *m_pageCount = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QLineEdit *m_findEdit = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace korvan
