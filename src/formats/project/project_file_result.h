#pragma once

#include <QString>

#include <functional>

// What a project save or load reports. A cancellation is not a failure: it carries no
// message, and the caller reports it quietly.
struct ProjectFileResult {
    bool ok = false;
    bool cancelled = false;
    QString error;

    static ProjectFileResult success() { return {true, false, {}}; }
    static ProjectFileResult cancellation() { return {false, true, {}}; }
    static ProjectFileResult failure(const QString& message) { return {false, false, message}; }
};

// Told (records done, records in total) as a file task advances; answering false cancels
// it. Saving and loading run on a worker thread, so this is called there. An empty
// callable means nobody is listening.
using ProjectFileProgress = std::function<bool(int done, int total)>;
