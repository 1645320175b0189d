#pragma once

#include <QString>

namespace velmora {

// What the open-file dialog answered.
struct FileChoice
{
    enum Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Cancelled;
    QString path;  // the chosen file with its full path, when Chosen
    QString error; // what went wrong, when Failed
};

// Asks the user for an existing PRT file. The program uses a file dialog;
// tests answer it themselves.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual FileChoice choosePrtFile(const QString &startDir) = 0;
};

} // namespace velmora
