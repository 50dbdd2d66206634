#pragma once
#include <QStringList>

/// Runs one kovferrit-cli command line (without the program name). Exit status: 0 success,
/// 1 the operation answered failure, 2 usage error.
int runCli(const QStringList& args);
