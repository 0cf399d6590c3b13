#!/bin/sh
# imports_test.sh OBJDUMP PROGRAM...: each program is a single file, importing only libraries
# that every Windows has (a zlib1.dll, say, would stop it from starting).
objdump=$1
shift
status=0
for program in "$@"; do
  for library in $("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    case $(echo "$library" | tr 'A-Z' 'a-z') in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|advapi32.dll|msvcrt.dll) ;;
      *) echo "FAIL  $(basename "$program") needs $library"; status=1 ;;
    esac
  done
  [ $status = 0 ] && echo "ok    $(basename "$program") needs only Windows' own libraries"
done
exit $status
