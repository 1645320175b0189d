#pragma once

#include <QString>

#include <functional>

namespace velmora {

// What the open-file dialog answered.
struct FileChoice
{
    enum Outcome
    {
        Chosen,
        Cancelled,
        Failed
    };
    Outcome outcome = Cancelled;
    QString path;  // the chosen file with its full path, when Chosen
    QString error; // what went wrong, when Failed
};

// Asks the user for an existing PRT file. The program shows a file dialog and
// hands the answer to `done` once the user has closed it, without blocking
// the event loop; tests answer at once.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual void choosePrtFile(const QString &startDir, std::function<void(FileChoice)> done) = 0;
};

} // namespace velmora
