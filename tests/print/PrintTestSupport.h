// Shared helpers of the print tests: fixture types with analytic distributions, sample projects, the CLI
// and the independent PDF readers (pdftotext, pdftoppm).
#pragma once
#include "catalog/FixtureType.h"
#include "model/Document.h"

#include <functional>
#include <string>
#include <vector>

namespace printtest {

// A registered type whose planes follow intensity(plane, gamma degrees) in cd per 1000 lm.
catalog::BunpuHinban makeType(int planes, const std::function<double(int plane, int gamma)>& intensity,
                              const std::string& hinban = "TEST-100");

// A fresh directory under the build tree for one test's files.
std::string scratchDir(const std::string& name);

// Runs ordivan-cli with the arguments (shell-quoted here); returns the exit status, output in `out`.
int runCli(const std::vector<std::string>& args, std::string* out = nullptr);

// A word of pdftotext -bbox output: text and box in PDF points (origin top left).
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> pdfWords(const std::string& pdf);
std::string pdfText(const std::string& pdf);  // pdftotext -layout
// Page size in points from pdfinfo.
bool pdfPageSize(const std::string& pdf, double& width, double& height);
// Renders page 1 with pdftoppm; true when it succeeded and the PNG exists.
bool renderPdf(const std::string& pdf, const std::string& pngBase, int dpi = 50);

// Starts the Qt Gui application once (fonts and PDF need it); offscreen unless a platform is set.
void ensureGuiApp();

// The first word that starts with the text, or nullptr.
const PdfWord* findWord(const std::vector<PdfWord>& words, const std::string& text);

} // namespace printtest
