// The console in the browser, and under node: the page's terminal, or the
// node runner, takes the GBK bytes the program prints as they stand and
// hands over what is typed as GBK bytes already (stdin_web.js); the page
// converts for its terminal itself.
#include "platform/console.h"

void platform::start_system_console() {}
