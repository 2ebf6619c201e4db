#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace tovak {

// Programs of the desktop that the editor starts and does not wait for.

// Writes every picture path, one per line, to a new temporary file ("Temp..." in the user's
// temporary folder, left behind for the viewer) and returns its path; empty when it cannot be
// written.
QString WritePictureListFile(const std::vector<std::string>& pictures);

// Opens a file with the desktop's program for its type.
bool OpenWithDesktop(const QString& path);

// Shows picture: with the picture viewer beside the program when there is one (it gets the list
// of all pictures too, written only for it), else through open.
void ShowPicture(const std::string& programFolder, const std::vector<std::string>& pictures,
                 const std::string& picture,
                 const std::function<bool(const QString&)>& open = OpenWithDesktop);

// Starts the first volume control program found on this system. False when there is none.
bool StartVolumeControl();

}  // namespace tovak
