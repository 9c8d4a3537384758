#include "tools/rasp/CompareCommand.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/rasp/ColorOutput.h"
#include "tools/rasp/CompareReport.h"
#include "tools/rasp/HtmlReport.h"

namespace rasp {

std::string WriteReportFile(const std::string& path, const std::string& bytes,
                            const std::vector<std::string>& inputs) {
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) {
        if (S_ISDIR(target.st_mode)) return "it is a folder";
        for (const std::string& input : inputs) {
            struct stat source {};
            if (::stat(input.c_str(), &source) == 0 && source.st_dev == target.st_dev &&
                source.st_ino == target.st_ino)
                return "it is one of the articles being compared";
        }
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return std::strerror(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const std::string reason = std::strerror(errno);
            ::close(fd);
            return reason;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) return std::strerror(errno);
    return {};
}

int RunCompare(TCompareRequest request, std::ostream& out, std::ostream& err) {
    TMatchArticle article1 = PrepareArticle(std::move(request.Text1), request.Options);
    TMatchArticle article2 = PrepareArticle(std::move(request.Text2), request.Options);
    const TMatchResult result = MatchArticles(article1, article2, request.Options);

    if (!request.HtmlPath.empty()) {
        THtmlReport report;
        report.Name1 = request.Path1;
        report.Name2 = request.Path2;
        report.Article1 = &article1;
        report.Article2 = &article2;
        report.Result = &result;
        report.Options = request.Options;
        report.ShowExcluded = request.ExclusionsAsked;
        const std::string reason =
            WriteReportFile(request.HtmlPath, HtmlReport(report), {request.Path1, request.Path2});
        if (!reason.empty()) {
            err << "rasp: cannot write the report '" << request.HtmlPath << "': " << reason << "\n";
            return 2;
        }
    }
    const bool showExcluded = request.ExclusionsAsked;
    if (request.Color)
        WriteColoredComparison(out, {request.Path1, request.Path2}, article1.Text, article1.Words, article2.Text,
                               article2.Words, request.TrueColor);
    if (request.Json) WriteCompareJson(out, article1, article2, result);
    else WriteCompareText(out, result, showExcluded);
    return 0;
}

}  // namespace rasp
