# The Windows build's tests, run under Wine.
