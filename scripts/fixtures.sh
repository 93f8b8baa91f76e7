# Sourced by the scripts that read the shared fixtures, from the source root.
# The same folder as the build's KESTRIN_FIXTURES_DIR; the environment variable
# of that name moves both.
fixtures=${KESTRIN_FIXTURES_DIR:-$PWD/../shared/fixtures}
