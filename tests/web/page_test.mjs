// The page in headless Chromium against sample-replay's frames, pixel for
// pixel: the start-up box and the start frame, the swaying background and
// the tiles with the clock driven by the test (?step), the menu opened with
// Alt and a command chosen, full screen at a whole factor and back, a
// device scale of 2, and ESC ending the program.
//
//   node page_test.mjs PAGE_DIR SAMPLE_REPLAY [SCREENSHOT_DIR]
//
// PAGE_DIR is what scripts/web-build.sh made; SAMPLE_REPLAY runs in its own
// folder, beside the pictures. Prints a line a check and a closing
// "N passed, N failed"; exits non-zero when any check failed.
import { execFileSync } from "node:child_process";
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";

import { Browser } from "./devtools.mjs";
import { readPng } from "./png.mjs";
import { serve } from "./static_server.mjs";

const [pageDir, replay, screenshotDir] = process.argv.slice(2).map((path) => path && resolve(path));
if (!pageDir || !replay) {
  console.error("usage: node page_test.mjs PAGE_DIR SAMPLE_REPLAY [SCREENSHOT_DIR]");
  process.exit(2);
}
const work = mkdtempSync(join(tmpdir(), "sample-web-test-"));
if (screenshotDir) mkdirSync(screenshotDir, { recursive: true });

// ---- sample-replay's frames ----
function replayCaptures(name, script) {
  const lines = script.trim().split("\n").map((line) => line.replace(/^capture (\S+)$/, (_, file) =>
    `capture ${join(work, `${name}-${file}.png`)}`));
  execFileSync(replay, [], { cwd: dirname(replay), input: lines.join("\n") + "\n", stdio: ["pipe", "pipe", "inherit"] });
  const captures = {};
  for (const line of script.split("\n")) {
    const match = line.match(/^capture (\S+)$/);
    if (match) captures[match[1]] = readPng(readFileSync(join(work, `${name}-${match[1]}.png`)));
  }
  return captures;
}

// ---- Pictures ----
function crop(image, x, y, width, height) {
  const rgba = new Uint8Array(width * height * 4);
  for (let row = 0; row < height; ++row)
    rgba.set(image.rgba.subarray(((y + row) * image.width + x) * 4, ((y + row) * image.width + x + width) * 4), row * width * 4);
  return { width, height, rgba };
}
function scaled(image, factor) {
  const width = image.width * factor, height = image.height * factor, rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x)
      rgba.set(image.rgba.subarray(((y / factor | 0) * image.width + (x / factor | 0)) * 4,
        ((y / factor | 0) * image.width + (x / factor | 0)) * 4 + 4), (y * width + x) * 4);
  return { width, height, rgba };
}
// "" when equal, else what differs.
function difference(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height)
    return `${actual.width}x${actual.height} where ${expected.width}x${expected.height} was expected`;
  let count = 0, first = -1;
  for (let i = 0; i < actual.width * actual.height; ++i)
    for (let c = 0; c < 3; ++c)
      if (actual.rgba[i * 4 + c] !== expected.rgba[i * 4 + c]) {
        if (first < 0) first = i;
        ++count;
        break;
      }
  if (!count) return "";
  const at = (image) => Array.from(image.rgba.subarray(first * 4, first * 4 + 3)).map((v) => v.toString(16).padStart(2, "0")).join("");
  return `${count} pixels differ, the first at (${first % actual.width}, ${first / actual.width | 0}): #${at(actual)} where #${at(expected)}`;
}
function share(image, rgb) {
  let count = 0;
  for (let i = 0; i < image.width * image.height; ++i)
    if (((image.rgba[i * 4] << 16) | (image.rgba[i * 4 + 1] << 8) | image.rgba[i * 4 + 2]) === rgb) ++count;
  return count / (image.width * image.height);
}

// ---- The page ----
const KEYS = {
  Enter: 13, Escape: 27, ArrowUp: 38, ArrowDown: 40, ArrowLeft: 37, ArrowRight: 39, F12: 123, AltLeft: 18,
};
class SamplePage {
  static async open(browser, url, { scale = 1, width = 1024, height = 768, emulate = true, mobile = false } = {}) {
    const page = await browser.newPage();
    await page.open(url, { deviceScaleFactor: scale, width, height, emulate, mobile });
    const sample = new SamplePage(page);
    // The box is on the canvas: the program has started and drawn.
    await page.waitFor("window.sample && window.sample.firstShownAt !== undefined", "the page's first picture");
    return sample;
  }
  constructor(page) { this.page = page; this.sent = 0; }
  // A key pressed and released; returns once the program has taken both
  // and put what they did on the canvas.
  async press(code, options = {}) {
    const key = { Enter: "Enter", Escape: "Escape", AltLeft: "Alt" }[code] ?? code;
    await this.page.press(code, { key, keyCode: KEYS[code], ...options });
    this.sent += 2;
    await this.page.waitFor(`window.sample.inputTaken >= ${this.sent} || window.sample.ended`, `${code} taken`);
  }
  // Where client position (x, y) of the window lies in the viewport, in
  // the middle of its pixel, whatever the window's size on the page; over
  // the menu bar y is negative.
  async atClient(x, y) {
    const { left, top, cssPerPixel, barRows } = await this.page.evaluate(`(() => {
      const c = document.getElementById("canvas"), r = c.getBoundingClientRect(), factor = c.width / 640;
      return { left: r.x, top: r.y, cssPerPixel: r.width / 640, barRows: c.height / factor - 480 }; })()`);
    return [left + (x + 0.5) * cssPerPixel, top + (barRows + y + 0.5) * cssPerPixel];
  }
  async moveMouse(x, y) {
    await this.page.moveMouse(...await this.atClient(x, y));
    this.sent += 1;
    await this.page.waitFor(`window.sample.inputTaken >= ${this.sent}`, "the mouse taken");
  }
  // Moved there, pressed and released: three events.
  async click(x, y) {
    await this.page.click(...await this.atClient(x, y));
    this.sent += 3;
    await this.page.waitFor(`window.sample.inputTaken >= ${this.sent}`, "the click taken");
  }
  // A finger down at client position (x, y) and up again: three events
  // (moved there, pressed, released).
  async tap(x, y) {
    await this.page.touch(...await this.atClient(x, y));
    this.sent += 3;
    await this.page.waitFor(`window.sample.inputTaken >= ${this.sent}`, "the tap taken");
  }
  // A finger down at the first point, moved through the others, lifted at the last.
  async drag(points) {
    const [first, ...path] = await Promise.all(points.map(([x, y]) => this.atClient(x, y)));
    await this.page.touch(...first, path);
    this.sent += 3 + path.length;
    await this.page.waitFor(`window.sample.inputTaken >= ${this.sent}`, "the drag taken");
  }
  // ?step: `frames` more frames, the clock `ms` on before each.
  async step(frames, ms) {
    const target = (await this.page.evaluate("window.sample.frames")) + frames;
    await this.page.evaluate(`window.sample.step(${frames}, ${ms})`);
    await this.page.waitFor(`window.sample.frames >= ${target}`, `${frames} frames`);
  }
  async canvas() {
    const { width, height, data } = await this.page.evaluate(`(() => {
      const canvas = document.getElementById("canvas");
      const pixels = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
      let text = "";
      for (let i = 0; i < pixels.length; i += 0x8000) text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
      return { width: canvas.width, height: canvas.height, data: btoa(text) };
    })()`);
    return { width, height, rgba: new Uint8Array(Buffer.from(data, "base64")) };
  }
  // The client area, below the menu bar, at the canvas's factor.
  async client() {
    const canvas = await this.canvas();
    const factor = canvas.width / 640;
    return crop(canvas, 0, canvas.height - 480 * factor, 640 * factor, 480 * factor);
  }
  async screenshot(name) {
    if (!screenshotDir) return;
    writeFileSync(join(screenshotDir, name + ".png"), await this.page.screenshot());
  }
}

async function framesPerSecond(page) {
  const [frames0, time0] = await page.evaluate("[window.sample.frames, performance.now()]");
  await new Promise((done) => setTimeout(done, 3000));
  const [frames1, time1] = await page.evaluate("[window.sample.frames, performance.now()]");
  return (frames1 - frames0) / ((time1 - time0) / 1000);
}

const results = [];
async function check(name, body) {
  try {
    const problem = await body();
    results.push([name, problem || ""]);
  } catch (error) {
    results.push([name, error.message]);
  }
  const [, problem] = results.at(-1);
  console.log(problem ? `FAIL ${name}: ${problem}` : `ok   ${name}`);
}
function expectSame(actual, expected, what) {
  const problem = difference(actual, expected);
  if (problem) throw new Error(`${what}: ${problem}`);
}

// ---- The frames to compare with ----
const reference = {
  start: replayCaptures("start", "nosound\nframe 3 40\ncapture start"),
  stepped: replayCaptures("stepped",
    "nosound\nframe 1 40\nkey DOWN\nkey DOWN\nkey DOWN\nframe 10 40\ncapture wave\nkey DOWN\nframe 10 40\ncapture tiles\n" +
    "key DOWN\nmouse 300 200\nframe 10 40\ncapture sprite"),
  menu: replayCaptures("menu", "nosound\nframe 2 40\nkey 0x12\nkey 0x27\nkey 0x27\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\n" +
    "frame 1 40\ncapture open\nkey 0x0D\nframe 5 40\ncapture chosen"),
  exit: replayCaptures("exit", "nosound\nframe 2 40\nanswer no\nmenu 40001\nframe 3 40\ncapture after"),
  fullScreen: replayCaptures("full", "nosound\nframe 2 40\nkey F12\nframe 3 40\ncapture full\nkey F12\nframe 3 40\ncapture back"),
  finger: replayCaptures("finger", "nosound\nframe 2 40\nmenu 40008\nmouse 300 200\nframe 10 40\ncapture follows"),
};

// Client positions of what the fingers tap: the box's OK, the menu titles
// and the items under them.
const AT = { ok: [447, 274], window: [85, -10], fullScreen: [110, 10], debug: [150, -10], tiles: [170, 71],
             animation: [170, 91] };
// A phone both ways up, in CSS pixels, at a device scale of 3; what the
// window is expected at: smoothed across the whole width, or two device
// pixels a picture pixel (which fill 85 % of the height, where three
// would not fit).
const PHONE_SCALE = 3;
const PHONE = { portrait: { size: [390, 844], fit: "smooth" }, landscape: { size: [844, 390], fit: 2 } };

// "" when the window lies whole in a viewport of `width` by `height`, the
// page does not scroll, fingers on the window are the program's, and the
// window is laid out as `fit` says.
async function phoneLayoutProblem(sample, [width, height], fit) {
  const l = await sample.page.evaluate(`(() => {
    const c = document.getElementById("canvas"), r = c.getBoundingClientRect(), root = document.documentElement;
    return { innerWidth, innerHeight, scrollWidth: root.scrollWidth, scrollHeight: root.scrollHeight, ratio: devicePixelRatio,
      x: r.x, y: r.y, width: r.width, height: r.height, canvasWidth: c.width, canvasHeight: c.height,
      rendering: getComputedStyle(c).imageRendering, touch: getComputedStyle(document.getElementById("screen")).touchAction,
      help: getComputedStyle(document.getElementById("status")).display }; })()`);
  const slack = 0.01;
  if (l.ratio !== PHONE_SCALE) return `devicePixelRatio is ${l.ratio}`;
  if (l.innerWidth !== width || l.innerHeight !== height)
    return `the page is laid out ${l.innerWidth} by ${l.innerHeight} CSS pixels wide in a ${width} by ${height} viewport`;
  if (l.scrollWidth > l.innerWidth || l.scrollHeight > l.innerHeight) return `the page scrolls: ${l.scrollWidth} by ${l.scrollHeight}`;
  if (l.x < -slack || l.y < -slack || l.x + l.width > width + slack || l.y + l.height > height + slack)
    return `the window lies at (${l.x}, ${l.y}), ${l.width} by ${l.height}`;
  if (Math.abs(l.width * l.canvasHeight - l.height * l.canvasWidth) > l.canvasWidth) return "the window's aspect is not kept";
  if (l.touch !== "none") return `fingers on the window do what touch-action: ${l.touch} says`;
  if (l.help !== "none") return "the help line takes room";
  const factor = l.canvasWidth / 640;
  if (fit === "smooth") {
    if (Math.abs(Math.min(width / l.width, height / l.height) - 1) > slack) return `the window ${l.width} by ${l.height} does not fill the viewport`;
    if (l.rendering === "pixelated" || factor < l.width * l.ratio / 640) return `a ${factor}x canvas shown ${l.rendering} at ${l.width} CSS pixels`;
  } else if (factor !== fit || Math.abs(l.width * l.ratio - l.canvasWidth) > 0.5) {
    return `a ${factor}x canvas shown at ${l.width * l.ratio} device pixels where ${fit}x in whole device pixels was expected`;
  } else {
    // What the screen shows of the canvas is the canvas, pixel for pixel.
    const screen = readPng(await sample.page.screenshot());
    const shown = crop(screen, Math.round(l.x * l.ratio), Math.round(l.y * l.ratio), l.canvasWidth, l.canvasHeight);
    const problem = difference(shown, await sample.canvas());
    if (problem) return `the screen shows the canvas otherwise: ${problem}`;
  }
  return "";
}

const server = await serve(pageDir);
const url = server.url;
const browser = await Browser.launch({ windowSize: "1400,1100" });
const figures = {};
let menuBar = null;
try {
  await check("the page starts the program at once, and its box says there is no sound device", async () => {
    const sample = await SamplePage.open(browser, url);
    const canvas = await sample.canvas();
    if (canvas.width !== 640 || canvas.height <= 480) return `canvas ${canvas.width}x${canvas.height}`;
    const bar = canvas.height - 480;
    menuBar = crop(canvas, 0, 0, 640, bar);
    // The tab's icon is made once the first picture is up.
    await sample.page.waitFor(`document.querySelector("link[rel=icon]").href.startsWith("data:image/png")`, "the icon", 5);
    const [title, icon] = await sample.page.evaluate(`[document.title, document.querySelector("link[rel=icon]").href]`);
    if (title !== "sample" || !icon.startsWith("data:image/png;base64,"))
      return `the page's title is "${title}" and its icon ${icon.slice(0, 40)}`;
    await sample.screenshot("box");
    // The box's caption, blue as on the desktop, in the middle of the client area.
    const caption = share(crop(canvas, 170, bar + 165, 300, 150), 0x0078d7);
    if (!(caption > 0.05)) return `no box caption in the client area (${(caption * 100).toFixed(1)} % blue)`;
    await sample.press("Enter");
    await sample.page.waitFor("window.sample.frames > 3", "frames after the box");
    expectSame(await sample.client(), reference.start.start, "the start frame");
    await sample.screenshot("start");
    // The page's font, cut to the program's characters, must still be taken
    // for a Japanese one: nothing is said about a missing font.
    const complaints = sample.page.console.filter((line) => line.includes("platform:"));
    if (complaints.length) return `the page's console says: ${complaints.join(" | ")}`;
    // Frames a second with the real clock, the program drawing as fast as it
    // can: the start frame, then every effect on (Down eight times).
    figures.framesPerSecond = await framesPerSecond(sample.page);
    for (let i = 0; i < 8; ++i) await sample.press("ArrowDown");
    figures.framesPerSecondAll = await framesPerSecond(sample.page);
    await sample.screenshot("all");
    await sample.press("Escape");
    await sample.page.waitFor("window.sample.ended", "the end after ESC");
    const text = await sample.page.evaluate(`document.getElementById("status").textContent + " | " +
      document.body.dataset.state + " | " + document.getElementById("canvas").style.visibility`);
    if (!/has ended/.test(text) || !/\| ended \| hidden$/.test(text)) return `after ESC the page says: ${text}`;
    await sample.screenshot("ended");
  });

  await check("with the clock driven by the test: the swaying background, the tiles after Down four times, the animation at the mouse", async () => {
    const sample = await SamplePage.open(browser, url + "?step");
    await sample.press("Enter");
    // A frame first: keys before sample-replay's first frame would go to its box.
    await sample.step(1, 40);
    for (let i = 0; i < 3; ++i) await sample.press("ArrowDown");
    await sample.step(10, 40);
    expectSame(await sample.client(), reference.stepped.wave, "the swaying background");
    await sample.press("ArrowDown");
    await sample.step(10, 40);
    expectSame(await sample.client(), reference.stepped.tiles, "the tiles over it");
    await sample.screenshot("tiles");
    // Down a fifth time: the animation, which follows the mouse.
    await sample.press("ArrowDown");
    await sample.moveMouse(300, 200);
    await sample.step(10, 40);
    expectSame(await sample.client(), reference.stepped.sprite, "the animation at the mouse");
  });

  await check("the menu opened with Alt, ﾃﾞﾊﾞｯｸ → こけし chosen with the keyboard", async () => {
    const sample = await SamplePage.open(browser, url + "?step");
    await sample.press("Enter");
    await sample.step(2, 40);
    await sample.press("AltLeft", { alt: true });
    for (const key of ["ArrowRight", "ArrowRight", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown"])
      await sample.press(key);
    expectSame(await sample.client(), reference.menu.open, "the open menu over the client area");
    const canvas = await sample.canvas();
    if (!difference(crop(canvas, 0, 0, 640, canvas.height - 480), menuBar))
      return "the menu bar does not show its open title";
    await sample.screenshot("menu");
    await sample.press("Enter");
    await sample.step(5, 40);
    expectSame(await sample.client(), reference.menu.chosen, "the frame after the command");
    expectSame(crop(await sample.canvas(), 0, 0, 640, canvas.height - 480), menuBar, "the menu bar closed again");
  });

  await check("the exit question by mouse: a click on ﾌｧｲﾙ, one on 終了, N answers いいえ and the program runs on", async () => {
    const sample = await SamplePage.open(browser, url + "?step");
    await sample.press("Enter");
    await sample.step(2, 40);
    await sample.click(25, -10);
    await sample.click(30, 10);
    const asked = await sample.client();
    const caption = share(crop(asked, 170, 165, 300, 150), 0x0078d7);
    if (!(caption > 0.05)) return `no question box after the clicks (${(caption * 100).toFixed(1)} % blue)`;
    await sample.screenshot("exit_question");
    await sample.press("KeyN");
    await sample.step(3, 40);
    expectSame(await sample.client(), reference.exit.after, "the frame after いいえ");
  });

  await check("F12: full screen at a whole factor (2 on 1400 by 1100), and back", async () => {
    const sample = await SamplePage.open(browser, url + "?step", { width: 1400, height: 1100 });
    await sample.press("Enter");
    await sample.step(2, 40);
    await sample.press("F12");
    await sample.step(3, 40);
    figures.fullScreenGranted = await sample.page.evaluate("document.fullscreenElement !== null");
    const full = await sample.canvas();
    expectSame(full, scaled(reference.fullScreen.full, 2), "the full-screen picture");
    const css = await sample.page.evaluate(`(() => { const r = document.getElementById("canvas").getBoundingClientRect();
      return [r.width, r.height]; })()`);
    if (css[0] !== 1280 || css[1] !== 960) return `the picture takes ${css[0]} by ${css[1]} CSS pixels`;
    await sample.screenshot("full_screen");
    await sample.press("F12");
    await sample.step(3, 40);
    expectSame(await sample.client(), reference.fullScreen.back, "the window again");
  });

  await check("a device scale of 2: every pixel a 2 by 2 block, on the canvas and on the screen", async () => {
    const sample = await SamplePage.open(browser, url, { scale: 2 });
    const [width, height, cssWidth] = await sample.page.evaluate(`(() => { const c = document.getElementById("canvas");
      return [c.width, c.height, c.getBoundingClientRect().width]; })()`);
    if (width !== 1280 || cssWidth !== 640) return `canvas ${width}x${height}, ${cssWidth} CSS pixels wide`;
    await sample.press("Enter");
    await sample.page.waitFor("window.sample.frames > 3", "frames after the box");
    const canvas = await sample.canvas();
    expectSame(crop(canvas, 0, height - 960, 1280, 960), scaled(reference.start.start, 2), "the start frame at 2x");
    expectSame(crop(canvas, 0, 0, 1280, height - 960), scaled(menuBar, 2), "the menu bar at 2x");
    // What the screen shows of the canvas is the canvas, pixel for pixel.
    const box = await sample.page.evaluate(`(() => { const r = document.getElementById("canvas").getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height, scale: 1 }; })()`);
    const shown = readPng(await sample.page.screenshot(box));
    expectSame(shown, canvas, "the screenshot of the canvas");
    await sample.screenshot("scale2");
  });

} finally {
  await browser.close();
}

// A phone: its viewport and touch screen emulated, its device scale the
// browser's own, as on a real one (emulated, the browser places the canvas
// in whole CSS pixels, and the blocks of two device pixels come out uneven).
const phoneBrowser = await Browser.launch({ windowSize: "1024,1024", extraArguments: [`--force-device-scale-factor=${PHONE_SCALE}`] });
try {
  for (const [name, { size, fit }] of Object.entries(PHONE)) {
    await check(`a phone held ${name} (${size.join(" by ")} at ${PHONE_SCALE}, touch): the window whole in the viewport, the box answered and ﾃﾞﾊﾞｯｸ → こけし chosen by taps`, async () => {
      const sample = await SamplePage.open(phoneBrowser, url + "?step", { width: size[0], height: size[1], scale: 0, mobile: true });
      const problem = await phoneLayoutProblem(sample, size, fit);
      if (problem) return problem;
      const factor = (await sample.canvas()).width / 640;
      const caption = share(crop(await sample.client(), 170 * factor, 165 * factor, 300 * factor, 150 * factor), 0x0078d7);
      if (!(caption > 0.05)) return `no box caption in the client area (${(caption * 100).toFixed(1)} % blue)`;
      await sample.screenshot(`phone_${name}_box`);
      await sample.tap(...AT.ok);
      await sample.step(2, 40);
      await sample.tap(...AT.debug);
      await sample.tap(...AT.tiles);
      await sample.step(5, 40);
      expectSame(await sample.client(), scaled(reference.menu.chosen, factor), "the frame after こけし");
      await sample.screenshot(`phone_${name}`);
      if (name !== "portrait") return "";
      // Turned: fitted again at once, the frame redrawn.
      const before = await sample.page.evaluate(`document.getElementById("canvas").getBoundingClientRect().width`);
      await sample.page.setViewport({ width: size[1], height: size[0], deviceScaleFactor: 0, mobile: true });
      await sample.page.waitFor(`Math.abs(document.getElementById("canvas").getBoundingClientRect().width - ${before}) > 1`,
        "the window fitted again");
      const turned = await phoneLayoutProblem(sample, [size[1], size[0]], PHONE.landscape.fit);
      if (turned) return `turned to landscape: ${turned}`;
      expectSame(await sample.client(), scaled(reference.menu.chosen, (await sample.canvas()).width / 640), "the frame after turning");
    });
  }

  await check("a phone held portrait: ﾃﾞﾊﾞｯｸ → ﾏﾙﾁ by taps, the animation following a finger; ｳｨﾝﾄﾞｳ → full screen, and a tap beside the picture back", async () => {
    const { size } = PHONE.portrait;
    const sample = await SamplePage.open(phoneBrowser, url + "?step", { width: size[0], height: size[1], scale: 0, mobile: true });
    await sample.tap(...AT.ok);
    await sample.step(2, 40);
    await sample.tap(...AT.debug);
    await sample.tap(...AT.animation);
    await sample.drag([[100, 300], [160, 280], [240, 230], [300, 200]]);
    await sample.step(10, 40);
    const factor = (await sample.canvas()).width / 640;
    expectSame(await sample.client(), scaled(reference.finger.follows, factor), "the animation at the finger");

    const full = await replayCaptures("touch-full", "nosound\nframe 2 40\nmenu 40008\nmouse 300 200\nframe 10 40\n" +
      "key F12\nframe 3 40\ncapture full\nkey F12\nframe 3 40\ncapture back");
    await sample.tap(...AT.window);
    await sample.tap(...AT.fullScreen);
    await sample.step(3, 40);
    figures.touchFullScreenGranted = await sample.page.evaluate("document.fullscreenElement !== null");
    const picture = await sample.canvas();
    expectSame(picture, scaled(full.full, picture.width / 640), "the full-screen picture");
    const shown = await sample.page.evaluate(`(() => { const r = document.getElementById("canvas").getBoundingClientRect();
      return [r.x, r.y, r.width, r.height]; })()`);
    // 640 by 480 across the portrait screen's whole width, centred.
    if (Math.abs(shown[2] - size[0]) > 0.01 || Math.abs(shown[1] + shown[3] / 2 - size[1] / 2) > 1)
      return `the full-screen picture lies at (${shown[0]}, ${shown[1]}), ${shown[2]} by ${shown[3]}`;
    await sample.screenshot("phone_full_screen");
    await sample.page.touch(size[0] / 2, shown[1] / 2);
    sample.sent += 2; // F12 pressed and released; the mouse stays where it was
    await sample.page.waitFor(`window.sample.inputTaken >= ${sample.sent}`, "the tap beside the picture taken");
    await sample.step(3, 40);
    expectSame(await sample.client(), scaled(full.back, (await sample.canvas()).width / 640), "the window again");
    const problem = await phoneLayoutProblem(sample, size, PHONE.portrait.fit);
    if (problem) return `back in the window: ${problem}`;
  });
} finally {
  await phoneBrowser.close();
}

// The browser's own device scale, as on a high-density screen (not emulated).
const denseBrowser = await Browser.launch({ windowSize: "1024,768", extraArguments: ["--force-device-scale-factor=2"] });
try {
  await check("a real device scale of 2 (--force-device-scale-factor): the whole window, every pixel a 2 by 2 block", async () => {
    const sample = await SamplePage.open(denseBrowser, url, { emulate: false });
    const [ratio, width, height, cssWidth] = await sample.page.evaluate(`(() => { const c = document.getElementById("canvas");
      return [devicePixelRatio, c.width, c.height, c.getBoundingClientRect().width]; })()`);
    if (ratio !== 2) return `devicePixelRatio is ${ratio}`;
    if (width !== 1280 || cssWidth !== 640) return `canvas ${width}x${height}, ${cssWidth} CSS pixels wide`;
    await sample.press("Enter");
    await sample.page.waitFor("window.sample.frames > 3", "frames after the box");
    const canvas = await sample.canvas();
    expectSame(crop(canvas, 0, height - 960, 1280, 960), scaled(reference.start.start, 2), "the start frame at 2x");
    if (menuBar) expectSame(crop(canvas, 0, 0, 1280, height - 960), scaled(menuBar, 2), "the menu bar at 2x");
    const box = await sample.page.evaluate(`(() => { const r = document.getElementById("canvas").getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height, scale: 1 }; })()`);
    expectSame(readPng(await sample.page.screenshot(box)), canvas, "the screenshot of the canvas");
    await sample.screenshot("real_scale2");
  });
} finally {
  await denseBrowser.close();
  await server.stop();
  rmSync(work, { recursive: true, force: true });
}

const failed = results.filter(([, problem]) => problem).length;
if (figures.framesPerSecond !== undefined)
  console.log(`FIGURES frames_per_second_start=${(figures.framesPerSecond ?? 0).toFixed(0)}` +
    ` frames_per_second_all=${(figures.framesPerSecondAll ?? 0).toFixed(0)} full_screen_granted=${figures.fullScreenGranted}` +
    ` touch_full_screen_granted=${figures.touchFullScreenGranted}`);
console.log(`${results.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
