// The end-to-end tests' own extension, installed only in a test session's data folder: the shell's
// Eval and Screenshot interfaces answer any caller in unsafe mode, which nothing else turns on.
/* exported init */
function init() {
    return {
        enable() {
            global.context.unsafe_mode = true;
        },
        disable() {
            global.context.unsafe_mode = false;
        },
    };
}
