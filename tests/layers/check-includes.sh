#!/usr/bin/env bash
# Checks that every include of the shipped code runs downward.  The order,
# from the bottom:
#   0  common/ resources/
#   1  setupdll/ engine/ runtime/ (the programs' start-up, on common's heap)
#   2  ui/ install/ scan/
#   3  pages/
#   4  shell/
# A folder includes its own headers and those of lower ranks, never a peer's
# (ui/, install/ and scan/ know nothing of one another).  The other programs
# (isdel/, memchk/, product/) include common/, their own headers and the
# contracts between programs listed below, and nothing else of setup.
# Tests, fuzz targets, benchmarks and host tools are not checked.
# Usage: check-includes.sh SOURCE-ROOT
set -u
cd "${1:?usage: check-includes.sh SOURCE-ROOT}" || exit 2

rank_of() {
  case $1 in
    common|resources) echo 0 ;;
    setupdll|engine|runtime) echo 1 ;;
    ui|install|scan) echo 2 ;;
    pages) echo 3 ;;
    shell) echo 4 ;;
    *) echo program ;;
  esac
}

# Contracts between setup and the other programs: the records setup leaves,
# the journal with its trust rule and how a record is undone, the run lock,
# the exit codes, the task byte, the library's and the engine's interfaces;
# and the scan loop over the engine (scan/), which the product's window runs
# as setup's scan page does.
contracts='^(install/(install_records|install_folder|journal_format|journal|journal_file|journal_trust|rollback|restart_replacement|result_codes|run_lock|task_file|medium_files)\.h|setupdll/(at_restart|library_temp|initinstall)\.h|setupdll/store/store_format\.h|engine/engine_api\.h|scan/(folder_scan|scan_text)\.h)$'

status=0
checked=0
while IFS= read -r file; do
  from=${file%%/*}
  from_rank=$(rank_of "$from")
  while IFS= read -r included; do
    [[ $included == */* ]] || continue
    to=${included%%/*}
    [ "$to" = "$from" ] && continue
    to_rank=$(rank_of "$to")
    checked=$((checked + 1))
    if [ "$from_rank" = program ]; then
      [ "$to" = common ] || [[ $included =~ $contracts ]] && continue
      echo "FAIL: $file includes $included, which is neither common/ nor a contract between programs"
    elif [ "$to_rank" = program ]; then
      echo "FAIL: $file includes $included, a header of another program"
    elif [ "$to_rank" -lt "$from_rank" ]; then
      continue
    elif [ "$to_rank" -eq "$from_rank" ]; then
      echo "FAIL: $file includes $included, a header of a peer layer"
    else
      echo "FAIL: $file includes $included, a header of a layer above it"
    fi
    status=1
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find common runtime resources setupdll engine ui install scan pages shell isdel memchk product \
           \( -name tests -o -name fuzz -o -name bench -o -name tools \) -prune -o \
           -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.rc' \) -print | sort)
[ $status -eq 0 ] && echo "ok: $checked includes between folders, all downward"
exit $status
