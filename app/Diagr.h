#pragma once
// The T-s chart window: the chart bitmap DiagrTS.bmp at natural size with an overview and its
// position frame, or fitted to the window height; up to twelve red point markers with the
// six state quantities as tooltips. Also the loader of the bitmap, which the main window owns.

#include "app/AppState.h"

#include <QDialog>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <functional>

class CalculationModel;
class QLabel;
class QPushButton;

namespace platform {
class MessageSink;
}

// Loads ExeDir/DiagrTS.bmp when the watched main window becomes active (or is first shown,
// whichever comes first), until it succeeds.
// A failed load (missing, unreadable, or an empty image) shows "Chyba při otevírání TS
// diagramu - " / "Error opening T-S chart - " + the path once, and is tried again only when
// the window is activated after the application had lost the focus to another program:
// deactivations while this loader's own message is shown do not count, so closing the
// message never starts a series of messages.
class ChartBitmapLoader : public QObject {
    Q_OBJECT
public:
    // `exeDir` ends with '/'; `language` gives the current language at each attempt.
    ChartBitmapLoader(QWidget* window, const QString& exeDir, std::function<int()> language,
                      platform::MessageSink& messages, QObject* parent = nullptr);

    static QString fileName() { return QStringLiteral("DiagrTS.bmp"); }
    QString path() const { return m_path; }

    bool loaded() const { return !m_chart.isNull(); }
    const QPixmap& chart() const { return m_chart; }

    // The watched window's events; public so that tests can drive them.
    void windowShown();
    void windowActivated();
    void windowDeactivated();

signals:
    void chartLoaded(const QPixmap& chart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attempt();

    QString m_path;
    std::function<int()> m_language;
    platform::MessageSink& m_messages;
    QPixmap m_chart;
    bool m_attempted = false;
    bool m_retryArmed = false;
    bool m_showingMessage = false;
};

class ChartImage;
class ChartMarker;
class OverviewFrame;

// A view of the calculation model: the markers show the computed rows of the Points table
// when the Points page was entered last, else the Calculation page's state; they are placed
// from the model at every change of the display mode.
class TDiagramForm : public QDialog {
    Q_OBJECT
public:
    TDiagramForm(const CalculationModel& model, platform::MessageSink& messages,
                 QWidget* parent = nullptr);

    // The loaded chart; also scaled into the overview picture.
    void setChart(const QPixmap& chart);

    // Natural size with overview; nothing when already at natural size.
    void BitBtn2Click();
    // Fit to the window height; nothing when already fitted.
    void BitBtn1Click();
    void PlacePointMarkers();

    bool stretched() const { return m_stretched; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormActivate();
    void ImageTSMouseDown(QPoint at);
    void ImageTSMouseMove(QPoint at);
    void ImageTSMouseUp();
    void polohaMouseDown(QPoint at);
    void polohaMouseMove(QPoint at);
    void polohaMouseUp();
    void moveMarkers(QPoint delta);
    void hideMarkers();
    QString hint(const std::array<double, 7>& values) const;

    const CalculationModel& m_model;
    platform::MessageSink& m_messages;
    QPixmap m_chart;
    QSize m_client; // the window's client size as last set by a display mode
    ChartImage* m_image;
    std::array<ChartMarker*, kPointRows> m_markers{};
    QLabel* m_overview;
    OverviewFrame* m_frame;
    QPushButton* m_fit;
    QPushButton* m_natural;
    QPushButton* m_close;
    bool m_stretched = false;
    bool Panning = false;
    bool PanMoved = false;
    QPoint PanStart;
    QPoint PanNew;
    bool OverviewDragging = false;
    QPoint OverviewStart;
};
