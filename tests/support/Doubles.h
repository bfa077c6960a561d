#pragma once

#include "core/System.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QVector>
#include <functional>

namespace velmora {

// The test doubles of the program's services: boxes answered from a script, a printer
// that keeps what it was given, a fixed year, scripted draws and no sleep.

// Test double: answers queued by the test; every box shown is logged.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString kind; // "message", "entry", "picture" or "save"
        QString caption;
        QString text; // message text, entry prompt or proposed file
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
    };

    void queueAnswer(MsgResult r) { answers_.append(r); }
    void queueEntry(const QString& text) { entries_.append(text); }
    void queuePicture(const QString& path) { pictures_.append(path); } // "" = cancel
    void queueSave(const QString& path) { saves_.append(path); }       // "" = cancel

    // The progress panel is the real one; its "Cancelar" is pressed just before the
    // given step (1 for the first), if any.
    void cancelProgressAt(int step) { cancelAt_ = step; }
    // Run at each step of a progress panel, before the panel's own, with the step's
    // number (1 for the first).
    void onProgressStep(std::function<void(int step)> action) { onStep_ = std::move(action); }
    // Each step of the progress panels shown: how far, and whether the panel was on
    // screen in its window.
    struct ProgressStep {
        int percent;
        bool panelShown;
    };
    const QVector<ProgressStep>& progressSteps() const { return steps_; }

    const QVector<Shown>& shown() const { return shown_; }
    QStringList messages() const; // texts of the message boxes, in order
    void clearLog() {
        shown_.clear();
        steps_.clear();
    }

    MsgResult message(const QString& caption, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    QString entry(const QString& caption, const QString& prompt) override;
    bool openPicture(QString& fileName) override;
    bool savePdf(QString& fileName) override;
    // Logged as kind "save" too; answered from the same queue as savePdf.
    bool saveFile(QString& fileName, const QString& filter, const QString& suffix) override;
    // Logged as kind "progress", with the window's name as caption.
    std::unique_ptr<ProgressBox> progress(QWidget* window, const QString& text) override;

private:
    class Progress;
    int cancelAt_ = 0;
    std::function<void(int)> onStep_;
    QVector<ProgressStep> steps_;
    // A box with nothing queued answers Ok / No, "" or cancel.
    QVector<MsgResult> answers_;
    QStringList entries_;
    QStringList pictures_;
    QStringList saves_;
    QVector<Shown> shown_;
};

// Test double: records a picture of what it was asked to print and the job's title;
// saving a PDF is real.
class RecordingPrinting final : public Printing {
public:
    bool hasPrinter() const override { return printerPresent; }
    void printArea(QWidget* area, const QString& title) override;
    bool printerPresent = true;
    QVector<QImage> printed;
    QStringList titles;
};

// A year of the test's choosing.
class FixedClock final : public Clock {
public:
    explicit FixedClock(int year) : year_(year) {}
    int currentYear() const override { return year_; }
    void setYear(int y) { year_ = y; }

private:
    int year_;
};

// Test double: returns the queued draws (each taken modulo n), then 0.
class ScriptedRandom final : public Random {
public:
    void queue(int v) { draws_.append(v); }
    void seedFromClock() override {}
    int below(int n) override;

private:
    QList<int> draws_;
};

// Waits for nothing.
class NoSleep final : public Sleep {
public:
    void sleepMs(int) override {}
};

} // namespace velmora
