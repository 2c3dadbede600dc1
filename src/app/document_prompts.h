#pragma once

#include "app/recovery_folder.h"
#include "formats/sprites/native_sprites.h"
#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/workstage_replayer.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class ConvertImageDialog;

// What the New Canvas dialog hands back on OK.
struct NewCanvasChoice {
    CanvasMode mode = CanvasMode::Hires;
    CanvasLayout layout = CanvasLayout::BitmapOnly;
    int screensAcross = 1;
    QSize size;
};

enum class SaveChangesAnswer { Save, Discard, Cancel };

// What to do with the recovery copy a crashed editor left.
enum class RecoveryAnswer { Restore, Discard, Later };

// What Import Image's chooser hands back.
struct ImageImportChoice {
    QString path;
    // Numbered from the left, from 0.
    int targetScreen = 0;
};

// What Import Sprites' chooser hands back.
struct SpriteImportChoice {
    QString path;
    SpriteImportOptions options;
};

// Save Workstages' dialog on OK.
struct WorkstagesChoice {
    int count = 1;
    WorkstageReduction reduction = WorkstageReduction::Uniform;
};

// Export to Image's first answer on a canvas of whole screens.
struct ExportFamilyChoice {
    // A constructor rather than an aggregate, so a choice written as {native, borders}
    // needs no programmer format.
    ExportFamilyChoice(bool native = true, bool includeBorders = false, const QString& programmerFormat = {})
        : native(native)
        , includeBorders(includeBorders)
        , programmerFormat(programmerFormat)
    {
    }

    bool native;
    bool includeBorders;
    // "raw" or an assembler's key for the exports for programmers, which then win.
    QString programmerFormat;
};

// The questions the document commands put to the user. Each one left empty is asked with
// the program's own dialog; a test sets them to answer without one.
struct DocumentPrompts {
    // An empty path means the user cancelled.
    std::function<QString(const QString& startDir)> chooseProjectToOpen;
    std::function<QString(const QString& proposedPath)> chooseProjectSavePath;
    std::function<std::optional<NewCanvasChoice>()> chooseNewCanvas;
    std::function<SaveChangesAnswer()> askToSaveChanges;
    std::function<RecoveryAnswer(const RecoveryCopyInfo& copy)> askAboutRecoveryCopy;
    std::function<void(const QString& text)> warn;

    // The image commands. Empty answers and std::nullopt mean the user cancelled.
    std::function<std::optional<ImageImportChoice>(const QString& startDir)> chooseImageToImport;
    std::function<std::optional<ExportFamilyChoice>(bool offerBorders)> chooseExportFamily;
    std::function<std::optional<bool>()> askIncludeBorders;
    std::function<QString(const QString& proposedPath, const QString& filter)> chooseExportPath;
    std::function<bool(const QStringList& existingFiles)> confirmReplace;
    // True for "Resolve and Export".
    std::function<bool(const QString& text)> askResolveClashes;
    std::function<std::optional<SpriteImportChoice>(const QString& startDir)> chooseSpritesToImport;

    // Outside programs, so the tests can use stand-ins: where the cruncher is (empty when
    // there is none) and how long it may run.
    std::function<QString()> locateCruncher;
    std::optional<std::chrono::milliseconds> crunchTimeout;
    std::function<QString(const QString& startDir)> chooseImageToConvert;
    // True for "Keep Aspect Ratio", false for "Stretch to Fit".
    std::function<std::optional<bool>(const QString& text)> askImageScaling;
    // Runs the conversion dialog in place of exec(); true for OK.
    std::function<bool(ConvertImageDialog& dialog)> runConvertImageDialog;
    // Save Workstages: how many of `total` stages, then the folder (empty: cancelled).
    std::function<std::optional<WorkstagesChoice>(int total)> chooseWorkstages;
    std::function<QString(const QString& startDir)> chooseWorkstagesFolder;
    // Import Reference Image: the file (empty: cancelled).
    std::function<QString(const QString& startDir)> chooseReferenceImage;
};
