#pragma once

// Every key of the per-user settings store. The defaults live beside the values they
// fill: Preferences (the Settings dialog) and SessionSettings (what the window restores).
namespace settingsKey {

// View and tool toggles of the menus.
inline constexpr char showReferenceGrid[] = "view/showReferenceGrid";
inline constexpr char showPixelGrid[] = "view/showPixelGrid";
inline constexpr char showSafeFrames[] = "view/showSafeFrames";
inline constexpr char bilinearFiltering[] = "view/bilinearFiltering";
inline constexpr char referenceLayerOpacity[] = "view/referenceLayerOpacity";
inline constexpr char displayPixelAspect[] = "view/displayPixelAspect";
inline constexpr char pixelPerfectStrokes[] = "tools/pixelPerfectStrokes";
inline constexpr char pressureWidening[] = "tools/pressureWidening";
inline constexpr char disableFillPreview[] = "tools/disableFillPreview";

// Window placement and the preview window.
inline constexpr char windowGeometry[] = "window/geometry";
inline constexpr char previewGeometry[] = "preview/geometry";
inline constexpr char previewStayOnTop[] = "preview/stayOnTop";
inline constexpr char previewMirrorHorizontally[] = "preview/mirrorHorizontally";
inline constexpr char previewCrtEmulation[] = "preview/crtEmulation";
inline constexpr char previewVisible[] = "preview/visible";

// The Settings dialog.
inline constexpr char invertZoomWheel[] = "general/invertZoomWheel";
inline constexpr char bindZoomToCanvas[] = "general/bindZoomToCanvas";
inline constexpr char smoothImageScaling[] = "general/smoothImageScaling";
inline constexpr char nativeFileDialogs[] = "general/nativeFileDialogs";
inline constexpr char toolFlyoutHoverDelaySeconds[] = "general/toolFlyoutHoverDelaySeconds";
inline constexpr char toolFlyoutLeaveGraceSeconds[] = "general/toolFlyoutLeaveGraceSeconds";
inline constexpr char ultimateHost[] = "ultimate/host";
inline constexpr char ultimateTimeoutSeconds[] = "ultimate/timeoutSeconds";
inline constexpr char emulatorProgram[] = "general/emulatorProgram";
inline constexpr char autosave[] = "general/autosave";
inline constexpr char autosaveIntervalSeconds[] = "general/autosaveIntervalSeconds";

// The folders the file dialogs open in, each remembered from the last success.
inline constexpr char lastProjectDir[] = "files/lastProjectDir";
inline constexpr char lastExportDir[] = "files/lastExportDir";
inline constexpr char lastPrgExportDir[] = "files/lastPrgExportDir";
inline constexpr char lastConvertImageDir[] = "files/lastConvertImageDir";
inline constexpr char lastImportImageDir[] = "files/lastImportImageDir";
inline constexpr char lastImportSpritesDir[] = "files/lastImportSpritesDir";
inline constexpr char lastWorkstagesDir[] = "files/lastWorkstagesDir";
inline constexpr char lastReferenceImageDir[] = "files/lastReferenceImageDir";

// Owned by the recent-projects list, the image export and the dialogs that keep their own.
inline constexpr char recentProjects[] = "files/recentProjects";
inline constexpr char exportIncludeBorders[] = "files/exportIncludeBorders";
inline constexpr char exportPreferNative[] = "files/exportPreferNative";
inline constexpr char exportProgrammerFormat[] = "files/exportProgrammerFormat";
inline constexpr char convertImageDialogDither[] = "convertImageDialog/dither";
inline constexpr char convertImageDialogGeometry[] = "convertImageDialog/geometry";
inline constexpr char convertImageDialogMethod[] = "convertImageDialog/method";
inline constexpr char convertImageDialogDistance[] = "convertImageDialog/distance";
inline constexpr char convertImageDialogAutomaticBackground[] = "convertImageDialog/automaticBackground";
inline constexpr char saveWorkstagesDialogGeometry[] = "saveWorkstagesDialog/geometry";
inline constexpr char saveWorkstagesDialogReduction[] = "saveWorkstagesDialog/reduction";

} // namespace settingsKey
