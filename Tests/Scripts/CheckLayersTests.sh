#!/usr/bin/env bash
# The layering check on a fixture tree: each rule broken once, by one include, beside includes that
# keep to the rules. Every breach must be reported with its file, line and rule, and nothing else.
# Usage: CheckLayersTests.sh PATH-TO-check-layers
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

put() { # file include...
    local file=$tree/$1
    shift
    mkdir -p "$(dirname "$file")"
    : >"$file"
    for include in "$@"; do echo "#include $include" >>"$file"; done
}

# What the includes name.
put Source/Host/Core/Array.h '<vector>'
put Source/RivetEditor/Public/RivetSlots.h '"Core/Array.h"'
put Source/RivetEditor/Private/Op.h '"RivetSlots.h"' '"Core/Array.h"'
put Source/Interchange/Interchange.h '"Core/Array.h"' '<tiny_gltf.h>' '<unistd.h>'
put Source/RivetCli/Cli.h '"RivetSlots.h"' '"Interchange/Interchange.h"' '<CLI/CLI.hpp>'
put Tests/Support/Builders.h '"Core/Array.h"'
put Tests/RivetEditor/OpTests.cpp '"RivetEditor/Private/Op.h"' '"Support/Builders.h"' '<gtest/gtest.h>'
put Benchmarks/Support/Reporter.h '<benchmark/benchmark.h>'
put Benchmarks/OpBenchmark.cpp '"RivetEditor/Private/Op.h"' '"Support/Reporter.h"' '"Support/Builders.h"'

# One breach per rule.
put Source/Host/Core/Bad.h '"Interchange/Interchange.h"'
put Source/RivetEditor/Public/Bad.h '"RivetEditor/Private/Op.h"'
put Source/RivetEditor/Private/Bad.cpp '"Interchange/Interchange.h"'
put Source/Interchange/Bad.cpp '"RivetCli/Cli.h"'
put Source/RivetCli/Bad.cpp '"RivetEditor/Private/Op.h"'
put Source/Tools/Bad.cpp '"Support/Builders.h"'
put Fuzz/Bad.cpp '"RivetEditor/Private/Op.h"'
put Benchmarks/Bad.cpp '"RivetEditor/OpTests.cpp"'
put Source/Host/Core/BadLibrary.h '<assimp/scene.h>'
put Source/Interchange/BadLibrary.cpp '<CLI/CLI.hpp>'
put Source/RivetCli/BadLibrary.cpp '<tiny_gltf.h>'
put Source/Tools/BadLibrary.cpp '<nlohmann/json.hpp>'
put Benchmarks/BadLibrary.cpp '<gtest/gtest.h>'
put Tests/Host/BadLibrary.cpp '<benchmark/benchmark.h>'

expected=$(cat <<'LINES'
check-layers: Benchmarks/Bad.cpp:1: includes "RivetEditor/OpTests.cpp": benchmarks and fuzz targets include from Tests/ only Tests/Support
check-layers: Benchmarks/BadLibrary.cpp:1: includes "gtest/gtest.h": GoogleTest is used only in Tests/
check-layers: Fuzz/Bad.cpp:1: includes "RivetEditor/Private/Op.h": only the module, Tests/ and Benchmarks/ include RivetEditor/Private
check-layers: Source/Host/Core/Bad.h:1: includes "Interchange/Interchange.h": the host includes only the host and the standard library
check-layers: Source/Host/Core/BadLibrary.h:1: includes "assimp/scene.h": the host and the module use the standard library only
check-layers: Source/Interchange/Bad.cpp:1: includes "RivetCli/Cli.h": interchange includes only the host and itself
check-layers: Source/Interchange/BadLibrary.cpp:1: includes "CLI/CLI.hpp": interchange uses only tinygltf, assimp and nlohmann-json
check-layers: Source/RivetCli/Bad.cpp:1: includes "RivetEditor/Private/Op.h": the command-line editor includes only the host, the module's Public headers, interchange and itself
check-layers: Source/RivetCli/BadLibrary.cpp:1: includes "tiny_gltf.h": the command-line editor uses only CLI11, nlohmann-json and stb
check-layers: Source/RivetEditor/Private/Bad.cpp:1: includes "Interchange/Interchange.h": the module includes only the host and its own folder
check-layers: Source/RivetEditor/Public/Bad.h:1: includes "RivetEditor/Private/Op.h": a public header of the module includes only the host and other public headers
check-layers: Source/Tools/Bad.cpp:1: includes "Support/Builders.h": nothing under Source/ includes from Tests/ or Benchmarks/
check-layers: Source/Tools/BadLibrary.cpp:1: includes "nlohmann/json.hpp": libraries are used only by interchange and the command-line editor
check-layers: Tests/Host/BadLibrary.cpp:1: includes "benchmark/benchmark.h": Google Benchmark and CGAL are used only in Benchmarks/
LINES
)

status=0
actual=$(bash "$check" "$tree" 2>/dev/null | sort) || status=$?
if [ "$status" -ne 1 ]; then
    echo "expected exit status 1 on a tree with breaches, got $status"
    exit 1
fi
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi

# The same tree without its breaches passes.
find "$tree" -name 'Bad*' -delete
if ! bash "$check" "$tree" >/dev/null; then
    echo "a tree that keeps to the rules was refused"
    exit 1
fi
echo "check-layers reports every breach of the fixture tree and passes it once they are gone"
