#include "LoadReport.h"

#include "BenchSupport.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <stdexcept>
#include <vector>

namespace precivox::capacity {

namespace {

double percentOfOneCore(double cpuSeconds, double wallSeconds) {
    return wallSeconds > 0 ? 100 * cpuSeconds / wallSeconds : 0;
}

// One a second for every terminal; where the span's ends fall between two ticks moves a
// terminal's count by one either way.
double expectedKeepAlives(const LoadFigures& figures) {
    return figures.options.terminals * std::floor(figures.result.spanSeconds);
}

double medianOf(const std::vector<double>& values) {
    return values.empty() ? 0 : bench::percentile(values, 0.5);
}

double p99Of(const std::vector<double>& values) {
    return values.empty() ? 0 : bench::percentile(values, 0.99);
}

double maxOf(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double mib(long kib) {
    return static_cast<double>(kib) / 1024;
}

} // namespace

void printReport(std::ostream& out, const LoadFigures& figures) {
    const auto& result = figures.result;
    const double expected = expectedKeepAlives(figures);
    out << std::fixed << std::setprecision(1);
    out << "terminals: " << figures.options.terminals << ", all welcomed " << result.connectSeconds
        << " s after the first connect\n";
    out << "measured span: " << result.spanSeconds << " s\n";
    out << "keep-alives: " << result.keepAlives << " received of " << std::setprecision(0)
        << expected << " expected (" << std::setprecision(2)
        << (expected > 0 ? 100 * static_cast<double>(result.keepAlives) / expected : 0)
        << " %); per terminal " << result.fewestKeepAlives << " to " << result.mostKeepAlives
        << "; longest silence " << result.longestSilenceSeconds << " s; " << result.silentTerminals
        << " terminals silent over 2 s\n";
    out << std::setprecision(1) << "keep-alive spread per tick (first terminal to last): median "
        << medianOf(result.keepAliveSpreadsMs) << " ms, max " << maxOf(result.keepAliveSpreadsMs)
        << " ms over " << result.keepAliveSpreadsMs.size() << " ticks\n";
    out << "scans: " << result.scansSent << " sent, " << result.answerMs.size()
        << " answered; answer time median " << std::setprecision(0) << medianOf(result.answerMs)
        << " ms, p99 " << p99Of(result.answerMs) << " ms, max " << maxOf(result.answerMs)
        << " ms\n";
    out << "answer: " << result.firstAnswer << " (" << result.unlikeAnswers << " unlike it, "
        << result.strayAnswers << " with no scan waiting)\n";
    out << "connections closed by the program: " << result.closedByServer
        << "; error lines: " << result.errorLines;
    if (result.errorLines > 0)
        out << " (first: " << result.firstErrorLine << ")";
    out << '\n';
    if (figures.program) {
        const auto& program = *figures.program;
        const double cpu = program.atEnd.cpuSeconds - program.atStart.cpuSeconds;
        out << std::setprecision(2) << "precivox CPU: " << percentOfOneCore(cpu, result.spanSeconds)
            << " % of one core (" << cpu << " s over the span)\n";
        out << std::setprecision(1) << "precivox memory: resident "
            << mib(program.atStart.residentKib) << " MiB at the start, "
            << mib(program.atEnd.residentKib) << " MiB at the end; peak (VmHWM) "
            << mib(program.atEnd.peakKib) << " MiB\n";
    }
    out << std::setprecision(2)
        << "load generator CPU: " << percentOfOneCore(figures.ownCpuSeconds, result.spanSeconds)
        << " % of one core\n";
}

void writeSummary(const std::string& path, const LoadFigures& figures) {
    std::ofstream out(path);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    const auto& result = figures.result;
    out << std::fixed << std::setprecision(2);
    out << "terminals=" << figures.options.terminals << '\n'
        << "span_seconds=" << result.spanSeconds << '\n'
        << "keepalives=" << result.keepAlives << '\n'
        << "keepalives_expected=" << std::setprecision(0) << expectedKeepAlives(figures) << '\n'
        << std::setprecision(2) << "longest_silence_seconds=" << result.longestSilenceSeconds
        << '\n'
        << "silent_terminals=" << result.silentTerminals << '\n'
        << "keepalive_spread_median_ms=" << medianOf(result.keepAliveSpreadsMs) << '\n'
        << "keepalive_spread_max_ms=" << maxOf(result.keepAliveSpreadsMs) << '\n'
        << "scans=" << result.scansSent << '\n'
        << "answers=" << result.answerMs.size() << '\n'
        << "answer_median_ms=" << medianOf(result.answerMs) << '\n'
        << "answer_p99_ms=" << p99Of(result.answerMs) << '\n'
        << "closed_by_program=" << result.closedByServer << '\n'
        << "own_cpu_percent=" << percentOfOneCore(figures.ownCpuSeconds, result.spanSeconds)
        << '\n';
    if (figures.program) {
        const auto& program = *figures.program;
        out << "cpu_percent="
            << percentOfOneCore(program.atEnd.cpuSeconds - program.atStart.cpuSeconds,
                                result.spanSeconds)
            << '\n'
            << "resident_start_kib=" << program.atStart.residentKib << '\n'
            << "resident_end_kib=" << program.atEnd.residentKib << '\n'
            << "peak_kib=" << program.atEnd.peakKib << '\n';
    }
}

} // namespace precivox::capacity
