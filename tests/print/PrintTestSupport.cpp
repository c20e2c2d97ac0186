// Helpers of the print tests: analytic fixture types, scratch files, running the CLI and reading PDFs back.
#include "support/TestPaths.h"
#include "PrintTestSupport.h"

#include <QGuiApplication>
#include <array>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace printtest {
namespace {

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int run(const std::string& command, std::string* out) {
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::string text;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) text.append(buf.data(), n);
    const int status = pclose(p);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string unescape(std::string s) {
    for (auto [from, to] : {std::pair<std::string, std::string>{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}}) {
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
            s.replace(at, from.size(), to);
    }
    return s;
}

} // namespace

catalog::BunpuHinban makeType(int planes, const std::function<double(int, int)>& intensity, const std::string& hinban) {
    catalog::BunpuHinban t;
    t.hinban = hinban;
    t.haikouCode = "HK-" + hinban;
    t.lampName = "白色LED";
    t.lampNameA = "LED-W";
    t.tosu = 1;
    t.planeCount = planes;
    t.kou = 1000;
    t.kouCatalog = 1000;
    t.colorTemp = 4000;
    t.maintClass = 1;
    t.efficiency = 0.8f;
    for (int p = 0; p < planes; ++p)
        for (int g = 0; g < catalog::kGammaCount; ++g)
            t.intensity[static_cast<std::size_t>(p)][static_cast<std::size_t>(g)] = static_cast<float>(intensity(p, g));
    return t;
}

std::string scratchDir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(testsupport::binaryDir()) / "test_print_files" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

int runCli(const std::vector<std::string>& args, std::string* out) {
    std::string command = quote(testsupport::cliPath());
    for (const auto& a : args) command += " " + quote(a);
    command += " 2>&1";
    return run(command, out);
}

std::vector<PdfWord> pdfWords(const std::string& pdf) {
    std::string html;
    run("pdftotext -bbox " + quote(pdf) + " - 2>/dev/null", &html);
    std::vector<PdfWord> words;
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        PdfWord w;
        w.xMin = std::stod((*it)[1]);
        w.yMin = std::stod((*it)[2]);
        w.xMax = std::stod((*it)[3]);
        w.yMax = std::stod((*it)[4]);
        w.text = unescape((*it)[5]);
        words.push_back(w);
    }
    return words;
}

std::string pdfText(const std::string& pdf) {
    std::string text;
    run("pdftotext -layout " + quote(pdf) + " - 2>/dev/null", &text);
    return text;
}

bool pdfPageSize(const std::string& pdf, double& width, double& height) {
    std::string info;
    if (run("pdfinfo " + quote(pdf) + " 2>/dev/null", &info) != 0) return false;
    std::smatch m;
    static const std::regex size(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)");
    if (!std::regex_search(info, m, size)) return false;
    width = std::stod(m[1]);
    height = std::stod(m[2]);
    return true;
}

bool renderPdf(const std::string& pdf, const std::string& pngBase, int dpi) {
    std::string out;
    const int status = run("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " " + quote(pdf) + " " + quote(pngBase) + " 2>&1", &out);
    return status == 0 && out.empty() && std::filesystem::exists(pngBase + ".png");
}

void ensureGuiApp() {
    static int argc = 1;
    static char name[] = "test_print";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        auto* a = new QGuiApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    (void)app;
}

const PdfWord* findWord(const std::vector<PdfWord>& words, const std::string& text) {
    for (const auto& w : words)
        if (w.text.rfind(text, 0) == 0) return &w;
    return nullptr;
}

} // namespace printtest
