#pragma once

#include "formats/program_data/export_files.h"
#include "formats/program_data/raw_planes.h"

#include <optional>

// The raw export's files for the chosen output path, named after its base name: one
// screen gives NAME-bitmap.bin, NAME-screen.bin, NAME-colors.bin (multicolor),
// NAME-sprites.bin (border sprites) and NAME-registers.bin (border, background); several
// screens give NAME-0-bitmap.bin, ... numbered from the left. With a load address each
// file starts with it, little-endian, as the C64's LOAD expects.
QList<ExportFile> rawPlaneFiles(
    const QString& output, const QList<RawPlanes>& screens, std::optional<int> loadAddress = std::nullopt);
