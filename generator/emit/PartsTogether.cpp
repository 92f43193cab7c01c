#include "generator/emit/PartsTogether.h"

#include "generator/emit/RunSteps.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TextSpool.h"

#include <memory>

void writePartsTogether(CTextBuffer& out, const std::vector<CTextPart>& parts)
{
    std::vector<std::unique_ptr<CTextSpool>> spools;
    std::vector<CRunStep> steps;
    for (const CTextPart& part : parts) {
        if (steps.empty()) {
            steps.push_back([&out, &part] {
                part(out);
                return true;
            });
            continue;
        }
        spools.push_back(std::make_unique<CTextSpool>());
        steps.push_back([&part, &spool = *spools.back()] {
            CTextBuffer text(spool.sink());
            part(text);
            return true;
        });
    }
    runTogether(steps);
    for (const std::unique_ptr<CTextSpool>& spool : spools)
        spool->writeTo(out);
}
