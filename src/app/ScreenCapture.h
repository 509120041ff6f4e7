#pragma once

#include <string>

class QWidget;

namespace velmora {

// The capture folder: the user's desktop folder (XDG) followed by "바둑캡쳐".
std::string CaptureFolder();
// The capture file's name in folder for a date and counter: "젤로네바둑YYMMDD__NN.jpg".
std::string CaptureFileName(const std::string& folder, int year, int month, int day, int counter);
// Starts the run's name counter again at 0 (tests; the program never resets it).
void ResetCaptureCounter();

// What a capture did.
struct CaptureResult {
    std::string path;         // the name formed (also when nothing could be written)
    bool written = false;     // the JPEG file was written
    bool folderMade = false;  // the capture folder exists
};

// Grabs window as it is drawn and writes it as a JPEG (quality 75) under the first free name
// of folder, counting names on with the run's counter. The folder is made when missing.
CaptureResult CaptureWindow(QWidget* window, const std::string& folder);

// The text telling the user what a capture did: the success message naming the file, or why
// nothing was saved.
std::string CaptureMessage(const CaptureResult& result, const std::string& folder);

}  // namespace velmora
