// The figures of a Windows benchmark: printed as "name=value" with the target each is watched
// against, and written with the process's peak working set into "<benchmark>.csv" in the current
// folder (one "figure,value,target" row each, the peak working set last).
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

class CBenchReport {
public:
    explicit CBenchReport(std::string strBenchmark) : m_strBenchmark(std::move(strBenchmark)) {}
    CBenchReport(const CBenchReport&) = delete;
    CBenchReport& operator=(const CBenchReport&) = delete;
    ~CBenchReport() { WriteCsv(); }

    void Figure(const std::string& strName, double dValue, const std::string& strTarget = "") {
        if (strTarget.empty())
            std::printf("%s=%.3f\n", strName.c_str(), dValue);
        else
            std::printf("%s=%.3f  (target: %s)\n", strName.c_str(), dValue, strTarget.c_str());
        std::fflush(stdout);
        m_arRows.push_back({strName, dValue, strTarget});
    }

    static double PeakWorkingSetMB() {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
        return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
    }

private:
    struct Row {
        std::string strName;
        double dValue;
        std::string strTarget;
    };

    void WriteCsv() const {
        const double dPeak = PeakWorkingSetMB();
        std::printf("peak_working_set_mb=%.1f\n", dPeak);
        FILE* pFile = std::fopen((m_strBenchmark + ".csv").c_str(), "w");
        if (!pFile) return;
        std::fprintf(pFile, "figure,value,target\n");
        for (const Row& row : m_arRows)
            std::fprintf(pFile, "%s,%.6g,\"%s\"\n", row.strName.c_str(), row.dValue, row.strTarget.c_str());
        std::fprintf(pFile, "peak_working_set_mb,%.1f,\"\"\n", dPeak);
        std::fclose(pFile);
    }

    std::string m_strBenchmark;
    std::vector<Row> m_arRows;
};
