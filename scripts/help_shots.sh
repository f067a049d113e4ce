#!/usr/bin/env bash
# Makes the screenshots of the help pages (help/images/*.png) from the real
# program: a small class is read from a sheet file, keyed, evaluated and
# previewed under a virtual X server with a window manager, by real key
# events and a few mouse clicks, the way a teacher works. Run it again
# whenever a window changes; the pages give each picture's width, so check
# those when a picture comes out at another size.
#
# Usage: scripts/help_shots.sh [PROGRAM]   (default: build/ponsaiten)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/ponsaiten}")
out="$root/help/images"
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 1; }
for tool in xvfb-run openbox xdotool xwininfo xprop import convert python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done

# Once more inside a virtual screen of its own (-a: a free display number,
# never one in use), with a time limit in case a window never comes.
if [ -z "${HELP_SHOTS_INNER:-}" ]; then
  export HELP_SHOTS_INNER=1
  exec timeout 300 xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$program"
fi

work=$(mktemp -d)
# The class file in a folder of a plain name, since the sheet window's
# caption shows its path.
folder=/tmp/seiseki
mkdir "$folder" 2>/dev/null || folder=$(mktemp -d /tmp/seiseki.XXXXXX)
class="$folder/3年1組.csv"
pids=()
cleanup() {
  local status=$?
  [ "$status" -eq 0 ] || cat "$work/program.log" >&2 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" "$folder"
}
trap cleanup EXIT
cd "$work"

# A home of its own: the program starts as on a first run (frame over the
# whole screen, A4 portrait) and leaves nothing behind. No print server, so
# every machine shows the same print settings (printing to a PDF file).
# Real windows, whatever a test session set; UTF-8 for the Japanese path.
unset QT_QPA_PLATFORM
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export CUPS_SERVER="$work/no-cups-here" LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" "$out" && chmod 700 "$XDG_RUNTIME_DIR"

# The class: three score columns with full marks and weights, one absence
# (欠), in the program's own Shift-JIS file format.
python3 - > "$class" <<'EOF'
import sys
names = ["青木 葵", "石田 健太", "上野 美咲", "江口 大輔", "大橋 花子", "加藤 翔", "木村 結衣",
         "工藤 陸", "小林 さくら", "佐藤 蓮", "清水 陽菜", "鈴木 悠斗", "高橋 美月", "田中 颯",
         "中村 凛"]
marks = [(18, 72, 81), (12, 55, 60), (20, 91, 88), (9, 38, 45), (15, 66, 70), (17, 80, "欠"),
         (14, 62, 58), (6, 30, 41), (19, 85, 92), (11, 49, 53), (16, 77, 74), (13, 58, 66),
         (20, 95, 97), (8, 42, 39), (15, 70, 79)]
lines = ["評価計算ｼｰﾄ(K_saiten), 20 , 10 , 100 , 10 , 100 , 20 ,", "25,95,-1 ",
         "年,組,NO,氏名,課題,中間,期末,総合点,評価･評定"]
for number, (name, row) in enumerate(zip(names, marks), 1):
    lines.append(",".join(["3", "1", str(number), name] + [str(m) for m in row] + ["", ""]))
lines += [",,,,,,,,"] * 15
sys.stdout.buffer.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
EOF

# Finds the program's parts in a screenshot by their colours, so that no
# coordinates are written here: the floating panels are silver, the area
# behind the sheet windows grey, the grid's title row and row numbers beige.
cat > "$work/locate.py" <<'EOF'
import subprocess, sys
SILVER, GREY, FIXED, WHITE = (192, 192, 192), (128, 128, 128), (212, 208, 200), (255, 255, 255)

class Shot:
    def __init__(self, path):
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                              capture_output=True, check=True).stdout
        _, size, _, self.px = data.split(b"\n", 3)
        self.w, self.h = map(int, size.split())

    def at(self, x, y):
        i = (y * self.w + x) * 3
        return tuple(self.px[i:i + 3])

    def row_find(self, y, colour):
        row, target = self.px[y * self.w * 3:(y + 1) * self.w * 3], bytes(colour)
        xs, i = [], row.find(target)
        while i >= 0:
            if i % 3 == 0:
                xs.append(i // 3)
            i = row.find(target, i + 1)
        return xs

def panels(shot):
    """Silver panels as x0 top x1 bottom, left to right. Grid lines are
    silver too, but thin: a panel's columns hold many silver pixels."""
    count = {}
    for y in range(shot.h):
        for x in shot.row_find(y, SILVER):
            count[x] = count.get(x, 0) + 1
    spans = []
    for x in sorted(c for c in count if count[c] >= 50):
        if spans and x - spans[-1][1] <= 10:
            spans[-1][1] = x
        else:
            spans.append([x, x])
    found = []
    for x0, x1 in spans:
        if x1 - x0 >= 40:
            rows = [y for y in range(shot.h) if sum(
                1 for x in range(x0, x1 + 1) if shot.at(x, y) == SILVER) >= 0.6 * (x1 - x0)]
            found.append((x0, rows[0], x1, rows[-1]))
    return found

def evaluation(shot):
    """The evaluation panel: the widest silver panel."""
    return max(panels(shot), key=lambda p: p[2] - p[0])

def candidates(shot):
    """Top left inside the candidate list: the evaluation panel's topmost
    white run of a list's height."""
    x0, y0, x1, y1 = evaluation(shot)
    best = None
    for x in range(x0, x1):
        run = 0
        for y in range(y0, y1 + 2):
            if y <= y1 and shot.at(x, y) == WHITE:
                run += 1
                continue
            if 100 <= run <= 250 and (best is None or y - run < best[1]):
                best = (x, y - run)
            run = 0
    return best

def viewpoints(shot):
    """The viewpoint panel: the rows with long silver bands (its heading and
    bottom edge), wider than any side panel."""
    rows = [y for y in range(shot.h) if len(shot.row_find(y, SILVER)) >= 400]
    xs = shot.row_find(rows[-1], SILVER)
    return xs[0], rows[0], xs[-1], rows[-1]

def subwindow(shot):
    """The sheet window: what is not grey inside the grey sheet area."""
    rows = [y for y in range(shot.h) if shot.at(shot.w - 3, y) == GREY]
    xs, ys = [], []
    for y in range(rows[0], rows[-1] + 1):
        grey = set(shot.row_find(y, GREY))
        inside = [x for x in range(shot.w) if x not in grey]
        if inside:
            xs += [inside[0], inside[-1]]
            ys.append(y)
    return min(xs), ys[0], max(xs), ys[-1]

def grid(shot):
    """Left, top and right of the grid's title row, and the row pitch."""
    sx0, sy0, sx1, sy1 = subwindow(shot)
    for y in range(sy0, sy1):
        xs = [x for x in shot.row_find(y, FIXED) if sx0 <= x <= sx1]
        if len(xs) > 100:
            break
    left, right, top = xs[0], xs[-1], y
    while shot.at(left + 2, y) == FIXED:
        y += 1
    return left, top, right, y - top + 1

command, shot = sys.argv[1], Shot(sys.argv[2])
if command == "panels":
    for p in panels(shot):
        print(*p)
else:
    print(*{"evaluation": evaluation, "candidates": candidates, "subwindow": subwindow,
            "grid": grid, "viewpoints": viewpoints}[command](shot))
EOF
locate() { python3 "$work/locate.py" "$@"; }

shoot() { import -window root "$work/$1.png"; }
key() { xdotool key --delay 60 "$@"; sleep 0.4; }
# Waits for a visible top-level window with the title and prints its id.
wait_window() {
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1)
  [ -n "$id" ] || { echo "no window '$1' came" >&2; exit 1; }
  echo "$id"
}
# A window's box on the screen with its window-manager frame: W H X Y
# (xwininfo, since xdotool's positions are off by the frame).
frame_box() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$1" | sed -n 's/.*\(Absolute upper-left [XY]\|Width\|Height\): *//p' | tr '\n' ' '; echo)
  read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo $((w + l + r)) $((h + t + b)) $((x - l)) $((y - t))
}
# Crops a screenshot (W H X Y) into help/images, at most 640 pixels wide
# (the width the pages show), as a small PNG.
save() {
  local from=$1 name=$2 w=$3 h=$4 x=$5 y=$6
  convert "$work/$from.png" -crop "${w}x${h}+${x}+${y}" +repage -resize '640x>' \
    -dither None -colors 256 -strip -define png:compression-level=9 "PNG8:$out/$name.png"
}
# The part of a screenshot that changed against another one (a menu that
# opened): W H X Y.
changed() {
  convert "$work/$1.png" "$work/$2.png" -compose difference -composite -threshold 0 \
    -format '%@\n' info: | sed 's/[x+]/ /g'
}

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The accessibility picture (run last, on a screen of its own twice as large):
# the class at twice the size, evaluated and walked with F6 alone to the
# candidate list, whose frame shows where the keys are.
if [ -n "${HELP_SHOTS_SCALE2:-}" ]; then
  QT_SCALE_FACTOR=2 "$program" >"$work/program.log" 2>&1 &
  pids+=($!)
  main=$(wait_window '枚のｼｰﾄがあります')
  xdotool windowactivate --sync "$main"
  sleep 1.5
  key alt+f r
  wait_window '^開く$' >/dev/null
  sleep 0.5
  xdotool type --delay 20 "$class"
  key Return
  sleep 1.5
  # Into 課題, then F6 to 評価計算 (six) and Space; eleven more reach the list.
  key Tab Tab Tab Tab
  for _ in $(seq 6); do key F6; done
  key space
  sleep 1.5
  for _ in $(seq 11); do key F6; done
  shoot access
  read -r ex0 ey0 ex1 ey1 < <(locate evaluation "$work/access.png")
  read -r _ _ px1 _ < <(locate panels "$work/access.png" | tail -1)
  save access access_panels $((px1 - ex0 + 3)) $((ey1 - ey0 + 3)) $((ex0 - 1)) $((ey0 - 1))
  exit 0
fi

"$program" >"$work/program.log" 2>&1 &
pids+=($!)
main=$(wait_window '枚のｼｰﾄがあります')
xdotool windowactivate --sync "$main"
sleep 1.5

# ﾌｧｲﾙ(&F) → シート読込(&R), the path typed into the open dialog.
key alt+f r
wait_window '^開く$' >/dev/null
sleep 0.5
xdotool type --delay 20 "$class"
key Return
sleep 1.5
shoot loaded

# The File menu, cut out by what changed when it opened.
key alt+f
sleep 0.3
shoot filemenu
key Escape Escape
read -r w h x y < <(changed loaded filemenu)
save filemenu menu_file $((w + 4)) $((h + 4)) $((x - 2)) $((y - 2))

# The toolbar: the band above the sheet area, as wide as its buttons.
read -r sx0 sy0 sx1 sy1 < <(locate subwindow "$work/loaded.png")
read -r tw th tx ty < <(convert "$work/loaded.png" -crop "1200x40+0+$((sy0 - 50))" +repage \
  -fuzz 3% -format '%@\n' info: | sed 's/[x+]/ /g')
save loaded toolbar $((tx + tw + 8)) 56 0 $((sy0 - 57))

# A narrower sheet window, so that the whole window can be shown at a
# readable size: its right edge dragged left to just beyond the grid and
# its side panels (one more column, for the column inserted below).
read -r gx gy gright pitch < <(locate grid "$work/loaded.png")
read -r px0 ptop px1 pbottom < <(locate panels "$work/loaded.png" | tail -1)
target=$((gright + pitch * 2 + (px1 - px0) + 30))
xdotool mousemove "$sx1" $(((sy0 + sy1) / 2)) mousedown 1
sleep 0.3
xdotool mousemove $(((sx1 + target) / 2)) $(((sy0 + sy1) / 2))
sleep 0.3
xdotool mousemove "$target" $(((sy0 + sy1) / 2)) mouseup 1
sleep 1
xdotool mousemove 1270 790
sleep 0.5
shoot narrow
read -r sx0 sy0 sx1 sy1 < <(locate subwindow "$work/narrow.png")
read -r px0 ptop px1 pbottom < <(locate panels "$work/narrow.png" | tail -1)
save narrow main $((sx1 + 3)) $((sy1 + 3)) 0 0

# 素点情報 of the 中間 column: Tab five times from 年, then its full marks
# typed into 最高 (after a read it shows 不明); Enter there stays on the cell.
# The box lies 38 pixels right of the panel's edge and 52 below its top.
key Tab Tab Tab Tab Tab
xdotool mousemove $((px0 + 60)) $((ptop + 62)) click 1
sleep 0.3
key ctrl+a
xdotool type --delay 50 100
key Return
xdotool mousemove 1270 790
sleep 0.5
shoot scorepanel
save scorepanel scorepanel $((sx1 + 3 - (px0 - 330))) $((pbottom + 8 - sy0)) $((px0 - 330)) "$sy0"

# 表示(&V) → 列表示(&R) → 挿入(&I) with one cell selected: the count dialog.
key alt+v r i
dialog=$(wait_window '^列を挿入$')
sleep 0.5
shoot countdialog
read -r w h x y < <(frame_box "$dialog")
save countdialog countdialog "$w" "$h" "$x" "$y"
xdotool type --delay 50 1
key Return
sleep 0.5

# ◇固定長 up to 2: two clicks on the up arrow of its spinner. The side
# panels are laid out in twips (15 to a pixel on this screen): the arrow
# is 77 pixels right of the panels' left edge and 31 above 素点情報.
for _ in 1 2; do
  xdotool mousemove $((px0 + 77)) $((ptop - 31)) click 1
  sleep 0.3
done
xdotool mousemove 1270 790
# Marks of the new column, two characters each, the cursor moving down by
# itself; "++" is 100. The picture is taken in the middle of a mark.
for mark in 85 70 92 55 78 ++ 66 48; do
  xdotool type --delay 120 -- "$mark"
  sleep 0.2
done
xdotool type --delay 120 9
sleep 0.6
shoot typing
save typing typing $((sx1 + 3 - sx0)) $((gy + pitch * 13 - sy0)) "$sx0" "$sy0"
for mark in 0 62 81 73 ++ 59 77; do
  xdotool type --delay 120 -- "$mark"
  sleep 0.2
done

# Back to the first student, and wide again, so that the evaluation panel
# leaves the grades in view.
for _ in $(seq 15); do xdotool key Up; done
sleep 0.5
xdotool mousemove "$sx1" $(((sy0 + sy1) / 2)) mousedown 1
sleep 0.3
xdotool mousemove 1000 $(((sy0 + sy1) / 2))
sleep 0.3
xdotool mousemove 1250 $(((sy0 + sy1) / 2)) mouseup 1
sleep 1
xdotool mousemove 1270 790

# 評価計算(&H) → 評価計算実行(&G) (ヘルプ(&H) has the same letter; the first
# Alt+H of a run opens 評価計算), then a candidate: a click on the first
# entry of the list and Down to the sixteenth.
key alt+h g
sleep 1.5
shoot evaluated
read -r lx ly < <(locate candidates "$work/evaluated.png")
xdotool mousemove $((lx + 30)) $((ly + 8)) click 1
sleep 0.5
for _ in $(seq 15); do key Down; done
xdotool mousemove 1270 790
sleep 1
shoot graded
read -r ex0 ey0 ex1 ey1 < <(locate evaluation "$work/graded.png")
save graded evaluation $((ex1 - ex0 + 3)) $((ey1 - ey0 + 3)) $((ex0 - 1)) $((ey0 - 1))
read -r sx0 sy0 sx1 sy1 < <(locate subwindow "$work/graded.png")
read -r gx gy gright pitch < <(locate grid "$work/graded.png")
save graded grades $((gright + 2 - gx)) $((pitch * 16 + 1)) "$gx" "$gy"
# 決　定: from the list, two Tabs (再計算, 決　定) and Space.
key Tab Tab space
sleep 0.5

# ﾌｧｲﾙ(&F) → 印刷設定(&U).
key alt+f u
settings=$(wait_window '^印刷設定$')
sleep 0.7
shoot printsettings
read -r w h x y < <(frame_box "$settings")
save printsettings printsettings "$w" "$h" "$x" "$y"
key Return

# ﾌｧｲﾙ(&F) → 印刷ﾌﾟﾚﾋﾞｭｰ(&V) with one cell selected: the class on one page,
# with the question after the page.
key alt+f v
preview=$(wait_window '印刷イメージの表示')
wait_window '^ぽん採点$' >/dev/null
sleep 0.8
shoot preview
read -r w h x y < <(frame_box "$preview")
# The page's upper part is enough: the rest is empty paper.
save preview preview "$w" $((h < 440 ? h : 440)) "$x" "$y"
key Return

# Viewpoints: the class with 課題 counting for 態, 中間 for 知 and 期末 for
# 思 (the batch command sets them), read through ﾌｧｲﾙ(&F) → シート読込(&R) into
# a sheet of its own; five Tabs from 年 reach 中間, whose 観点 the score
# panel shows.
"$program" evaluate "$class" --viewpoints 態,知,思 -o "$folder/観点.csv" >/dev/null
# The preview ends with its イメージ表示を終わる(&E) first.
key alt+e
sleep 0.5
xdotool windowactivate --sync "$main"
key alt+f r
wait_window '^開く$' >/dev/null
sleep 0.5
xdotool type --delay 20 "$folder/観点.csv"
key Return
sleep 3
key Tab Tab Tab Tab Tab
xdotool mousemove 1270 790
sleep 0.5
# 評価計算(&H) → 観点別評価(&K): the panel, the widest silver frame.
key alt+h k
sleep 1.5
shoot viewpoints
read -r vx0 vy0 vx1 vy1 < <(locate viewpoints "$work/viewpoints.png")
save viewpoints viewpoints $((vx1 - vx0 + 3)) $((vy1 - vy0 + 3)) $((vx0 - 1)) $((vy0 - 1))
# The first sheet's side panels lie right beside this one's and count as
# one silver frame with them, whose top is the first one's: the score panel
# is 89 pixels wide (1335 twips) and starts above that top.
read -r px0 ptop px1 pbottom < <(locate panels "$work/viewpoints.png" | tail -1)
save viewpoints viewpoint_choice 91 $((pbottom - ptop + 19)) $((px0 - 1)) $((ptop - 17))
key alt+s
sleep 0.5
shoot viewpoints_settings
save viewpoints_settings viewpoints_settings $((vx1 - vx0 + 3)) $((vy1 - vy0 + 3)) $((vx0 - 1)) $((vy0 - 1))

HELP_SHOTS_SCALE2=1 timeout 120 xvfb-run -a -s "-screen 0 2560x1600x24" bash "$0" "$program"
ls -l "$out"
