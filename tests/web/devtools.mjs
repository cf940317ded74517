// A small DevTools-protocol client for Debian's Chromium, over the pipe
// Chromium opens with --remote-debugging-pipe (file descriptors 3 and 4,
// one JSON message per NUL-ended chunk): start a headless browser, open a
// page, send commands to it and hear its events. No network port, nothing
// downloaded.
import { spawn } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export const CHROMIUM = process.env.CHROMIUM || "/usr/bin/chromium";

export class Browser {
  static async launch({ windowSize = "1024,768", extraArguments = [] } = {}) {
    const profile = mkdtempSync(join(tmpdir(), "sample-web-"));
    const child = spawn(
      CHROMIUM,
      [
        "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        "--disable-features=Translate,MediaRouter", "--mute-audio", `--window-size=${windowSize}`,
        `--user-data-dir=${profile}`, "--remote-debugging-pipe", ...extraArguments, "about:blank",
      ],
      { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
    const browser = new Browser(child, profile);
    await browser.send("Target.setDiscoverTargets", { discover: false });
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.stderr = "";
    this.exited = false;
    let buffered = Buffer.alloc(0);
    child.stdio[4].on("data", (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString("utf8"));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    child.stdio[2].on("data", (chunk) => { this.stderr = (this.stderr + chunk).slice(-4000); });
    child.on("exit", () => {
      this.exited = true;
      for (const { reject } of this.pending.values()) reject(new Error("Chromium ended:\n" + this.stderr));
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const waiting = this.pending.get(message.id);
      if (!waiting) return;
      this.pending.delete(message.id);
      if (message.error) waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
      else waiting.resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    if (this.exited) return Promise.reject(new Error("Chromium has ended:\n" + this.stderr));
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + "\0");
    });
  }

  on(listener) { this.listeners.push(listener); }

  // A tab; `isolated`: in a context of its own, with its own caches and
  // service workers, as on a first visit.
  async newPage({ isolated = false } = {}) {
    const context = isolated ? await this.send("Target.createBrowserContext", { disposeOnDetach: true }) : {};
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank", ...context });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    return new Page(this, sessionId);
  }

  async close() {
    if (!this.exited) {
      const ended = new Promise((resolve) => this.child.once("exit", resolve));
      this.send("Browser.close").catch(() => {});
      const timer = setTimeout(() => this.child.kill("SIGKILL"), 5000);
      await ended;
      clearTimeout(timer);
    }
    rmSync(this.profile, { recursive: true, force: true });
  }
}

export class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.console = [];
    browser.on((message) => {
      if (message.sessionId !== sessionId) return;
      if (message.method === "Runtime.consoleAPICalled")
        this.console.push(message.params.args.map((arg) => arg.value ?? arg.description ?? "").join(" "));
      if (message.method === "Runtime.exceptionThrown")
        this.console.push("exception: " + (message.params.exceptionDetails.exception?.description
          ?? message.params.exceptionDetails.text));
    });
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  close() { return this.send("Page.close").catch(() => {}); }

  // `emulate`: false keeps the browser's own window and device scale (its
  // --window-size and --force-device-scale-factor); `mobile`: a phone's
  // viewport and touch screen.
  async open(url, { deviceScaleFactor = 1, width = 1024, height = 768, emulate = true, mobile = false } = {}) {
    await this.send("Runtime.enable");
    await this.send("Page.enable");
    if (emulate) await this.setViewport({ width, height, deviceScaleFactor, mobile });
    if (mobile) await this.send("Emulation.setTouchEmulationEnabled", { enabled: true, maxTouchPoints: 5 });
    await this.send("Page.navigate", { url });
  }

  // The viewport's size in CSS pixels; a phone's turns with it.
  async setViewport({ width, height, deviceScaleFactor = 1, mobile = false }) {
    const screenOrientation = mobile
      ? { type: width > height ? "landscapePrimary" : "portraitPrimary", angle: width > height ? 90 : 0 } : undefined;
    await this.send("Emulation.setDeviceMetricsOverride",
      { width, height, deviceScaleFactor, mobile, screenWidth: width, screenHeight: height, screenOrientation });
  }

  // The value of a JavaScript expression in the page (awaited if a promise).
  async evaluate(expression) {
    const result = await this.send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails)
      throw new Error(`in the page: ${result.exceptionDetails.exception?.description ?? result.exceptionDetails.text}`);
    return result.result.value;
  }

  // Waits until `expression` is true in the page; fails after `seconds`.
  async waitFor(expression, what, seconds = 30) {
    const deadline = Date.now() + seconds * 1000;
    for (;;) {
      if (await this.evaluate(`Boolean(${expression})`)) return;
      if (Date.now() > deadline)
        throw new Error(`waited ${seconds} s for ${what}; the page's console:\n  ${this.console.join("\n  ")}`);
      await new Promise((resolve) => setTimeout(resolve, 20));
    }
  }

  // A key pressed and released, as the keyboard sends it.
  async press(code, { key = code, keyCode, alt = false } = {}) {
    const modifiers = alt ? 1 : 0;
    const common = { code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode, modifiers };
    await this.send("Input.dispatchKeyEvent", { type: "rawKeyDown", ...common });
    await this.send("Input.dispatchKeyEvent", { type: "keyUp", ...common, modifiers: code.startsWith("Alt") ? 0 : modifiers });
  }

  // The mouse moved to (x, y), CSS pixels of the viewport.
  async moveMouse(x, y) {
    await this.send("Input.dispatchMouseEvent", { type: "mouseMoved", x, y, button: "none" });
  }

  // A left click at (x, y): the mouse moved there, pressed and released.
  async click(x, y) {
    await this.moveMouse(x, y);
    for (const type of ["mousePressed", "mouseReleased"])
      await this.send("Input.dispatchMouseEvent", { type, x, y, button: "left", buttons: type === "mousePressed" ? 1 : 0, clickCount: 1 });
  }

  // A finger put down at (x, y), CSS pixels of the viewport, moved through
  // `path` ([x, y] pairs) and lifted where it ends: a tap without a path.
  async touch(x, y, path = []) {
    const point = (px, py) => [{ x: px, y: py, id: 1, radiusX: 1, radiusY: 1, force: 1 }];
    await this.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: point(x, y) });
    for (const [px, py] of path) await this.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: point(px, py) });
    await this.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  }

  async screenshot(clip) {
    const { data } = await this.send("Page.captureScreenshot", { format: "png", clip, captureBeyondViewport: false });
    return Buffer.from(data, "base64");
  }
}
