#include "host/glfw2/hooks.h"

namespace glfw2::hooks {
namespace {

int reportedWidth = 0;
int reportedHeight = 0;
BeforeSwap beforeSwap = nullptr;

}  // namespace

void SetReportedSize(int width, int height) {
    reportedWidth = width;
    reportedHeight = height;
}

bool ApplyReportedSize(int* width, int* height) {
    if (reportedWidth <= 0 || reportedHeight <= 0) return false;
    if (width) *width = reportedWidth;
    if (height) *height = reportedHeight;
    return true;
}

void SetBeforeSwap(BeforeSwap hook) { beforeSwap = hook; }
BeforeSwap CurrentBeforeSwap() { return beforeSwap; }

bool RunBeforeSwap() { return !beforeSwap || beforeSwap(); }

}  // namespace glfw2::hooks
