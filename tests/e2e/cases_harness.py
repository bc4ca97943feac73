"""Checks of the harness itself, run without tapkeys.exe: the target's log, the layout tool, the
screenshots and the pointer. When these pass, a failing keyboard case points at the keyboard."""

from driver.keyboard import centred_origin, missing_outlines
from driver.layout import Layout, Rect
from driver.runner import HARNESS, case
from driver.screen import is_outline
from driver.target import VK_BACK, VK_ESCAPE, VK_RETURN, VK_TAB
from driver.waiting import check, check_equal, wait_for


@case(HARNESS)
def target_logs_characters_keys_and_text(ctx):
    target = ctx.target
    target.activate()
    text = target.text()
    mark = target.mark()
    ctx.desktop.type_keys("aB+{é")
    ctx.desktop.press_keys("BackSpace", "Return", "Tab", "Escape")
    wait_for(lambda: len(target.chars_since(mark)) >= 9)
    check_equal(target.chars_since(mark), "aB+{é\b\r\t\x1b", "WM_CHARs logged")
    presses = target.keydowns_since(mark)
    check(all(vk in presses for vk in (VK_BACK, VK_RETURN, VK_TAB, VK_ESCAPE)),
          f"key presses logged: {presses}")
    target.wait_for_text(text + "aB+{\r\n\t")
    check_equal(target.text(), text + "aB+{\r\n\t", "edit text logged")
    times = [event.time_us for event in target.since(mark)]
    check(times == sorted(times) and times[-1] > times[0], "timestamps do not increase")


@case(HARNESS)
def layout_tool_describes_the_window(ctx):
    layout = ctx.layout
    check_equal((layout.width, layout.height), (632, 217), "window size at 96 dpi")
    keys = layout.character_keys()
    check_equal(len(keys), 47, "character keys")
    window = Rect(0, 0, layout.width, layout.height)
    for label in layout.labels:
        r = label.rect
        last_pixel = (r.left + r.width - 1, r.top + r.height - 1)
        check(window.contains(r.left, r.top) and window.contains(*last_pixel),
              f"{label.control}({label.index}) lies outside the window")
        point = layout.point_on(label.control, label.index)
        check(layout.hit(*point) is label, f"point_on({label.control}, {label.index}) reaches something else")
    check(layout.hit(*layout.background_point_in_top_band()) is None, "top band point is not background")
    large = Layout.from_tool(ctx.layout_tool, 144, ctx.desktop)

    def scaled(small, big):  # one and a half times, give or take the rounding of a pixel
        return abs(2 * big - 3 * small) <= 2

    check(scaled(layout.width, large.width) and scaled(layout.height, large.height),
          f"window size at 144 dpi: {large.width} x {large.height}")
    for small, big in zip(layout.labels, large.labels):
        check(scaled(small.rect.left, big.rect.left) and scaled(small.rect.width, big.rect.width),
              f"{small.control}({small.index}) does not scale with the dpi")


@case(HARNESS)
def screenshots_see_the_target_and_not_a_keyboard(ctx):
    shot = ctx.screenshot("harness-screen")
    x, y = ctx.target.strip_point
    edit_inside = (x, y - 60)
    check_equal(shot.pixel(*edit_inside), (255, 255, 255), f"edit control pixel at {edit_inside}")
    check(not is_outline(shot.pixel(shot.width - 5, 5)), "the bare desktop looks like a key outline")
    # With no keyboard running, the outline detector must find none of the outlines.
    centre = centred_origin(ctx.layout, ctx.desktop.size)
    outlined = [label for label in ctx.layout.labels if label.is_outlined_frame]
    check_equal(len(missing_outlines(shot, ctx.layout, centre)), len(outlined),
                "outlines missing on an empty desktop")


@case(HARNESS)
def pointer_drags_a_wine_window_by_its_caption(ctx):
    target = ctx.target
    left, top = target.place[0], target.place[1]
    grip = (left + target.place[2] // 2, top + 12)  # inside the title bar Wine draws
    for dx, dy in ((40, -30), (-40, 30)):
        expected = (grip[0] - target.place[2] // 2 + dx, grip[1] - 12 + dy)
        ctx.desktop.drag(grip, (grip[0] + dx, grip[1] + dy))
        wait_for(lambda: target.moved_to() == expected)
        check_equal(target.moved_to(), expected, "target window position after a drag")
        grip = (grip[0] + dx, grip[1] + dy)
