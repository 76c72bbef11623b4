#!/bin/sh
# One file's whole life through hbxctl: a first password, lock, hide, list, open, relock-pending,
# unlock and the removal of the empty vaults, with the vault's files checked byte for byte.
#
#   lifecycle.sh linux|windows C_DIR D_DIR HBXCTL...
#
# C_DIR and D_DIR are the native folders of the drives C: and D:. On Linux they are made anew
# and mapped through HUSHBOX_VOLUMES; under Wine D: is emptied and only the vault of C: is
# removed. HBXCTL is the command that runs hbxctl (under Wine: the runner and hbxctl.exe).
set -u
mode=$1 c_dir=$2 d_dir=$3
shift 3
work=$(mktemp -d)
failures=0
trap 'rm -rf "$work"' EXIT

if [ "$mode" = linux ]; then
    rm -rf "$c_dir" "$d_dir"
    mkdir -p "$c_dir" "$d_dir"
    HUSHBOX_VOLUMES="C=$c_dir,D=$d_dir"
    export HUSHBOX_VOLUMES
else
    rm -rf "$c_dir/..." "$c_dir/...."
    mkdir -p "$d_dir"
    find "$d_dir" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
fi
mkdir -p "$d_dir/Users/ann" "$d_dir/b"
printf 'hello\n' >"$d_dir/Users/ann/a.txt"
printf 'bee' >"$d_dir/b/b.txt"
d_vault="$d_dir/.../hbx"
ann_folder="$d_vault/data/3C51012B1D0BBBE73FC0A809A58198F9"

fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}

# run INPUT ARGS...: runs hbxctl with INPUT on stdin; sets $status, $out and $err.
run() {
    input=$1
    shift
    printf '%s' "$input" | "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(tr -d '\r' <"$work/out")
    err=$(tr -d '\r' <"$work/err")
}
hbx() {
    input=$1
    shift
    run "$input" "$HBXCTL" "$@"
}
HBXCTL=$1
shift
if [ $# -gt 0 ]; then
    # Under Wine: the runner, then the program.
    runner=$HBXCTL
    program=$1
    hbx() {
        input=$1
        shift
        run "$input" "$runner" "$program" "$@"
    }
fi

expect() {   # expect WHAT STATUS OUT [ERR]
    [ "$status" = "$2" ] || fail "$1: exit status $status, expected $2 (stderr: $err)"
    [ "$out" = "$3" ] || fail "$1: stdout
$out
expected
$3"
    if [ $# -ge 4 ]; then
        [ "$err" = "$4" ] || fail "$1: stderr \"$err\", expected \"$4\""
    fi
}

# expect_file WHAT PATH: the file at PATH holds exactly the bytes of $work/expected.
expect_file() {
    cmp -s "$work/expected" "$2" || {
        fail "$1: $2 differs"
        od -c "$2" 2>&1 | head -20
    }
}

# A path member as hbxctl prints it: on Linux followed by its native form.
member() {   # member KEY ENGINE_JSON NATIVE
    if [ "$mode" = linux ]; then
        printf '"%s":"%s","%s_native":"%s"' "$1" "$2" "$1" "$3"
    else
        printf '"%s":"%s"' "$1" "$2"
    fi
}

options_file() {   # the options file with the hash of "secret"; $1: pending lines, if any
    printf '%s\n' '{' '    "user": {' \
        '        "password": "2C0D7EE4567F7E08BFD9175B516A183C",' \
        '        "machine": ""' '    },' >"$work/expected"
    if [ $# -eq 0 ]; then
        printf '%s\n' '    "pending": ""' '}' >>"$work/expected"
    else
        printf '%s\n' '    "pending": [' "$@" '    ]' '}' >>"$work/expected"
    fi
}

a_json='D:\\Users\\ann\\a.txt'
b_json='D:\\b\\b.txt'
a_line="{$(member path "$a_json" "$d_dir/Users/ann/a.txt")}"
a_back="{$(member path "$a_json" "$d_dir/Users/ann/a.txt"),\"type\":0,$(member place "$a_json" "$d_dir/Users/ann/a.txt")}"

# ---- the first password ----
hbx '' password status
expect "status before" 0 '{"has_password":false}'
hbx 'secret
' lock 'D:\Users\ann\a.txt'
expect "lock without any password" 1 "" "Incorrect password."
hbx 'secret
' password set
expect "first password" 0 '{"has_password":true}'
options_file
expect_file "first password" "$c_dir/.../hbx/options.cfg"
[ -e "$d_dir/..." ] && fail "the first password touched D:"
hbx 'wrong
other
' password set
expect "change with a wrong password" 1 "" "Incorrect password."
hbx 'secret
' password check
expect "check" 0 '{"checks":true}'
hbx 'Secret
' password check D:
expect "check on D:" 1 '{"checks":false}'

# ---- lock and hide ----
hbx '
' lock 'D:\Users\ann\a.txt'
expect "lock with an empty password" 1 "" "Please enter your password."
hbx 'secret
' lock 'D:\b\b.txt' --hide
expect "hide" 0 "{$(member path "$b_json" "$d_dir/b/b.txt")}"
[ -e "$d_dir/b/b.txt.hbxfile" ] && fail "hide left a stub"
[ -e "$d_vault/options.cfg" ] && fail "hide wrote an options file"
hbx 'secret
' lock 'D:\Users\ann\a.txt'
expect "lock" 0 "$a_line"
[ -e "$d_dir/Users/ann/a.txt" ] && fail "a.txt is still in its place"
printf '[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n' >"$work/expected"
expect_file "stub" "$d_dir/Users/ann/a.txt.hbxfile"
printf 'hello\n' >"$work/expected"
expect_file "item in the vault" "$ann_folder/a.txt"
printf '%s\n' '{' '    "hash_path": {' \
    '        "3931CFA65BFCE241D405981376C65C13": "\\b\\",' \
    '        "3C51012B1D0BBBE73FC0A809A58198F9": "\\Users\\ann\\"' \
    '    }' '}' >"$work/expected"
cp "$work/expected" "$work/path.list"
expect_file "lock list" "$d_vault/path.list"
options_file
expect_file "options made by the lock" "$d_vault/options.cfg"

hbx '' list
list=$(printf '%s\n' "$out" | sort)
a_item="{$(member path "$a_json" "$d_dir/Users/ann/a.txt"),$(member vault_path 'D:\\...\\hbx\\data\\3C51012B1D0BBBE73FC0A809A58198F9\\a.txt' "$ann_folder/a.txt"),\"is_folder\":false,\"hidden\":false}"
b_item="{$(member path "$b_json" "$d_dir/b/b.txt"),$(member vault_path 'D:\\...\\hbx\\data\\3931CFA65BFCE241D405981376C65C13\\b.txt' "$d_vault/data/3931CFA65BFCE241D405981376C65C13/b.txt"),\"is_folder\":false,\"hidden\":true}"
out=$list
expect "list" 0 "$(printf '%s\n%s' "$a_item" "$b_item" | sort)"

# ---- open for the moment, then relock ----
hbx 'secret
' open 'D:\Users\ann\a.txt.hbxfile'
expect "open through the stub" 0 "$a_back"
printf 'hello\n' >"$work/expected"
expect_file "opened item" "$d_dir/Users/ann/a.txt"
[ -e "$d_dir/Users/ann/a.txt.hbxfile" ] && fail "open left the stub"
options_file '        {' '            "path": "\\Users\\ann\\a.txt",' '            "type": "0"' '        }'
expect_file "pending entry" "$d_vault/options.cfg"
hbx '' relock-pending
expect "relock" 0 ""
options_file
expect_file "options after relock" "$d_vault/options.cfg"
printf '[ENCRYPTINFO]\r\nSRC=Users\\ann\\a.txt\r\n' >"$work/expected"
expect_file "stub after relock" "$d_dir/Users/ann/a.txt.hbxfile"
printf 'hello\n' >"$work/expected"
expect_file "item back in the vault" "$ann_folder/a.txt"

# ---- a refused lock, then unlock for good ----
hbx 'secret
' lock 'D:\Users\ann\missing.txt'
expect "lock of a missing file" 14 "" "The lock target does not exist. (0)"
hbx 'secret
' unlock 'D:\Users\ann\a.txt'
expect "unlock" 0 "$a_back"
expect_file "unlocked item" "$d_dir/Users/ann/a.txt"
[ -e "$d_dir/Users/ann/a.txt.hbxfile" ] && fail "unlock left the stub"
cp "$work/path.list" "$work/expected"
expect_file "lock list after unlock" "$d_vault/path.list"
hbx 'secret
' unlock 'D:\b\b.txt'
expect "unlock hidden" 0 "{$(member path "$b_json" "$d_dir/b/b.txt"),\"type\":1,$(member place "$b_json" "$d_dir/b/b.txt")}"
hbx 'secret
' unlock 'D:\b\b.txt'
expect "unlock again" 18 "" "The unlock target does not exist. (2)"
hbx '' list
expect "empty list" 0 ""

# ---- uninstall: the empty vaults go ----
hbx 'wrong
' remove-empty-vaults
expect "removal with a wrong password" 1 "" "Incorrect password."
[ -d "$d_dir/..." ] || fail "a wrong password removed a vault"
hbx 'secret
' remove-empty-vaults
expect "removal" 0 "{$(member root 'C:\\' "$c_dir"),\"removed\":true}
{$(member root 'D:\\' "$d_dir"),\"removed\":true}"
[ -e "$c_dir/..." ] && fail "the vault of C: stayed"
[ -e "$d_dir/..." ] && fail "the vault of D: stayed"
printf 'bee' >"$work/expected"
expect_file "b.txt at the end" "$d_dir/b/b.txt"

if [ "$mode" = windows ]; then
    find "$d_dir" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
fi
[ "$failures" -eq 0 ] || exit 1
echo "lifecycle: all steps as expected"
