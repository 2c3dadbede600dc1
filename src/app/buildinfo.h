#pragma once

#include <QString>

// What the About box says about the build, so a bug report can name the exact compiler
// and toolkit. Every value comes from the compiler and the toolkit themselves.
namespace buildinfo {

QString compilerName();
QString compilerVersion();
QString qtBuildVersion();
QString qtRuntimeVersion();
QString compileDate();

} // namespace buildinfo
