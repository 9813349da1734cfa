// The station page's browser tests against the real radio service: a private Icecast on a free
// loopback port with the demo sources, the system's Chromium at the control's size, a station file
// of each test's own. What the service sees comes from Icecast itself: its status and its admin.
"use strict";
const { describe, test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const http = require("node:http");
const { chromium } = require("playwright-core");
const service = require("../../tools/radio/radio.js");
const { radio, startRadio, stopRadio, startIcecast, startSource, stopSource, mounts, admin, listenerIds, onAir, waitFor, waitForListeners,
  checkBands } = require("./support");

const FAST = { reconnect: { delays: [0.2, 0.2], stallSeconds: 1.5, connectSeconds: 5 }, nowPlayingSeconds: 1 };
const TRACKS = (id) => service.readTracks(`${__dirname}/../../station/streams/${id}.tracks`).map((t) => `${t.artist} - ${t.title}`);

let BASE;
before(async () => {
  await startRadio();
  BASE = radio.config.base;
});
after(stopRadio);

// Runs `body` on a fresh page (own storage, status changes kept in window.statusLog, every request
// the page makes in page.requests) free of script errors. `stations` replace the station file,
// `settings` go over FAST, `init` runs first.
async function withPage(browser, { stations, settings, init }, body) {
  const page = await (await browser.newContext({ viewport: { width: 323, height: 574 } })).newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.requests = [];
  page.on("request", (request) => page.requests.push(request.url().slice(BASE.length)));
  const file = JSON.stringify({ ...FAST, ...settings, stations });
  await page.route("**/sonbrel/stations.json", (route) => route.fulfill({ contentType: "application/json", body: file }));
  if (init) await page.addInitScript(init);
  await page.addInitScript(() => document.addEventListener("DOMContentLoaded", () => {
    const status = document.getElementById("status"), log = (window.statusLog = []);
    new MutationObserver(() => log.push(status.textContent)).observe(status, { childList: true });
  }));
  await page.goto(`${BASE}/sonbrel/index3.htm`);
  await page.waitForSelector("#stations li");
  await body(page);
  assert.deepEqual(errors, []);
  await page.context().close();
}

const titled = (id) => ({ nowPlaying: { status: "/status-json.xsl", mount: `/${id}` } });
const station = (id, urls, extra) => ({ id, name: `台${id}`, frequency: "FM 90.0", region: "测试", urls, ...extra });
const requestsOf = (page, path) => page.requests.filter((url) => url === path).length;
const waitForStatus = (page, text, timeout = 15000) =>
  page.waitForFunction((t) => document.getElementById("status").textContent.indexOf(t) === 0, text, { timeout });
const statusSeen = (page) => page.evaluate(() => window.statusLog.filter((s, i, log) => s !== log[i - 1]));
// Plays buffered audio four times as fast, so that a stream cut off or stalled runs dry soon.
const fastPlayback = () => document.addEventListener("DOMContentLoaded", () => { document.getElementById("audio").defaultPlaybackRate = 4; });
const mediaTime = (page) => page.$eval("#audio", (a) => a.currentTime);


describe("the player on Icecast", () => {
  let browser;
  before(async () => { browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--autoplay-policy=no-user-gesture-required"] }); });
  after(() => browser.close());
  const A = station("A", ["/morning"], titled("morning")), B = station("B", ["/city"]);
  const text = (page, selector) => page.textContent(selector);
  const volume = (page) => page.$eval("#volume-level", (e) => e.style.width);

  test("▶ is a listener Icecast counts, ■ hangs up, ▶ connects afresh, ▶▶ hangs up before it plays the next", () =>
    withPage(browser, { stations: [A, B] }, async (page) => {
      await page.click("#play");
      await waitForListeners("morning", 1);
      const [first] = await listenerIds("morning");
      await page.click("#stop");
      await waitForListeners("morning", 0);
      await page.click("#play");
      await waitForStatus(page, "播放中");
      const [again] = await listenerIds("morning");
      assert.ok(again && again !== first, "▶ after ■ connects afresh");
      await checkBands(page, "playing");
      await page.click("#next");
      await waitForListeners("city", 1);
      await waitForListeners("morning", 0);
    }));

  // The title is Icecast's for the station's mount, Chinese as the source sent it, and follows it.
  test("the song on the air is shown while playing, and only for a station that names its status", () =>
    withPage(browser, { stations: [A, B, station("C", ["/river"], { nowPlaying: { status: "/status-json.xsl", mount: "/gone" } })] }, async (page) => {
      const info = () => text(page, "#station-info");
      await page.click("#play");
      await waitForStatus(page, "播放中");
      const shown = await waitFor(async () => /^♪ /.test(await info()) && (await info()).slice(2), "a title");
      assert.ok(TRACKS("morning").includes(shown) || shown === (await onAir("morning")).title, shown);
      assert.equal(await text(page, "#mini-title"), `台A · ${shown}`);
      await admin(`metadata?mount=/morning&mode=updinfo&charset=UTF-8&song=${encodeURIComponent("晨光乐队 - 新歌：《早安》")}`);
      await waitFor(async () => (await info()) === "♪ 晨光乐队 - 新歌：《早安》", "the new title");
      await page.click("#stop");
      assert.equal(await info(), "测试 · FM 90.0");
      for (const row of ["台B", "台C"]) {
        const polls = requestsOf(page, "/status-json.xsl");
        await page.click(`#stations li:has-text('${row}')`);
        await waitForStatus(page, "播放中");
        await page.waitForTimeout(2500);
        assert.deepEqual([await info(), await text(page, "#mini-title")], [`正在播放：测试 · ${row}`, row], row);
        const polled = requestsOf(page, "/status-json.xsl") - polls;
        assert.ok(row === "台B" ? polled === 0 : polled >= 2, `${row} polls only a status it names: ${polled}`);
      }
    }));

  // Icecast cuts the listener off after good listening, more often than the retries (2 here): each
  // cut is a new incident and is reconnected.
  test("a listener cut off by the server is reconnected, however often", () =>
    withPage(browser, { stations: [A], init: fastPlayback }, async (page) => {
      await page.click("#play");
      for (let cut = 0; cut < 3; cut++) {
        await waitForStatus(page, "播放中");
        await waitFor(async () => (await mediaTime(page)) > 2, "good listening");
        const [id] = await listenerIds("morning");
        await admin(`killclient?mount=/morning&id=${id}`);
        await waitForStatus(page, "重新连接…");
      }
      await waitForStatus(page, "播放中");
      assert.ok(!(await statusSeen(page)).includes("连接失败"));
    }));

  // A source that stops sending keeps its listeners connected: the page's watchdog must notice.
  test("a stalled source is noticed and played again when it sends again", () =>
    withPage(browser, { stations: [station("X", ["/night"])], init: fastPlayback }, async (page) => {
      await page.click("#play");
      await waitForStatus(page, "播放中");
      radio.sources.night.kill("SIGSTOP");
      try {
        await waitForStatus(page, "重新连接…");
      } finally {
        radio.sources.night.kill("SIGCONT");
      }
      await waitForStatus(page, "播放中");
      const from = await mediaTime(page);
      await waitFor(async () => (await mediaTime(page)) > from + 20, "20 s of audio after the stall", 20000);
      assert.ok(!(await statusSeen(page)).includes("连接失败"));
    }));

  test("a source that goes off the air mid-stream is played again once it is back", () =>
    withPage(browser, { stations: [station("X", ["/river"])], settings: { reconnect: { delays: [0.5, 1, 2, 4], stallSeconds: 1.5 } },
      init: fastPlayback }, async (page) => {
      await page.click("#play");
      await waitForStatus(page, "播放中");
      await stopSource("river");
      await waitForStatus(page, "重新连接…");
      await startSource("river");
      await waitForStatus(page, "播放中");
      await waitForListeners("river", 1);
      assert.ok(!(await statusSeen(page)).includes("连接失败"));
    }));

  test("with Icecast gone the page reconnects, fails with the reason, and ▶ plays once it is back", () =>
    withPage(browser, { stations: [station("X", ["/city"])], init: fastPlayback }, async (page) => {
      await page.click("#play");
      await waitForStatus(page, "播放中");
      await Promise.all(mounts().map(stopSource));
      await service.stop(radio.icecast);
      await waitForStatus(page, "连接失败", 30000);
      assert.deepEqual((await statusSeen(page)).slice(-4), ["播放中", "重新连接…(1/2)", "重新连接…(2/2)", "连接失败"]);
      assert.match(await text(page, "#station-info"), /^无法连接：.+，按 ▶ 重试$/);
      await startIcecast();
      await Promise.all(mounts().map(startSource));
      await page.click("#play");
      await waitForStatus(page, "播放中");
      await waitForListeners("city", 1);
    }));

  // Each address in turn in each of the 1 + 2 rounds, then failed until ▶, the mini toggle or the
  // row tries again. The longer last delay holds the reconnecting state up for the bands.
  test("a station whose addresses all fail ends failed, shows it, and is retried", () => withPage(browser,
    { stations: [station("X", ["/nothing", "/nothing.mp3"])], settings: { reconnect: { delays: [0.2, 2] } } }, async (page) => {
    const mini = () => page.$eval("#mini", (e) => getComputedStyle(e).backgroundColor), stoppedMini = await mini();
    for (const selector of ["#play", "#mini-toggle", "#stations li.station"]) {
      const before = [requestsOf(page, "/nothing"), requestsOf(page, "/nothing.mp3")];
      await page.evaluate(() => { window.statusLog.length = 0; });
      await page.click(selector);
      if (selector === "#play") await waitForStatus(page, "重新连接…(2/2)").then(() => checkBands(page, "reconnecting"));
      await waitForStatus(page, "连接失败");
      assert.deepEqual((await statusSeen(page)).slice(-4), ["连接中…", "重新连接…(1/2)", "重新连接…(2/2)", "连接失败"], selector);
      assert.deepEqual([requestsOf(page, "/nothing"), requestsOf(page, "/nothing.mp3")], before.map((n) => n + 3), selector);
      assert.match(await text(page, "#station-info"), /^无法连接：.+，按 ▶ 重试$/);
      assert.deepEqual([await text(page, "#mini-status"), (await mini()) !== stoppedMini], ["连接失败", true]);
    }
    await checkBands(page, "failed");
  }));

  // The keys and a star set what the next load finds: volume, mute, last station, history, favourites.
  const denied = () => Object.defineProperty(window, "localStorage", { get() { throw new Error("denied"); } });
  for (const [where, init] of [["localStorage"], ["a cookie", denied]]) {
    test(`the keyboard works the player, and a reload finds what it set in ${where}`, () =>
      withPage(browser, { stations: [A, B], init }, async (page) => {
        for (let i = 0; i < 30 && !(await page.evaluate(() => document.activeElement.matches("li.station"))); i++)
          await page.keyboard.press("Tab");
        const shows = (selector, expected) => async () => assert.match(await text(page, selector), expected);
        const playing = () => waitForStatus(page, "播放中"), stopped = () => waitForStatus(page, "已停止");
        for (const [key, check] of [["Enter", playing], ["Escape", () => page.evaluate(() => document.activeElement.blur())],
          ["Space", stopped], ["Space", playing], ["ArrowRight", shows("#station-name", /台B/)], ["ArrowLeft", shows("#station-name", /台A/)],
          ["ArrowRight", playing], ["ArrowUp", async () => assert.equal(await volume(page), "63px")], ["m", shows("#mute", /取消/)],
          ["Space", stopped]]) {
          await page.keyboard.press(key);
          await check();
        }
        await page.click("#stations li:has-text('台B') .star");
        await page.reload();
        await page.waitForSelector("#stations li.station").then(() => page.waitForTimeout(1000));  // not played
        const rows = await page.$$eval("#favourites li, #history li", (all) => all.map((r) => r.parentNode.id + r.textContent));
        assert.deepEqual([await volume(page), await text(page, "#mute"), await text(page, "#station-name"), await text(page, "#status"),
          rows], ["63px", "取消", "台B  FM 90.0", "已停止", ["favouritesFM 90.0台B", "historyFM 90.0台B", "historyFM 90.0台A"]]);
        await page.check("#autoplay");
        await page.reload();
        await waitForStatus(page, "播放中");
      }));
  }

  // A click redraws the lists under the focus; the same station's row or star must hold it, or
  // the control's engine sends keys nowhere. A click leaves no ring, a key does.
  test("the focus stays on the clicked station through a redraw, and the arrows still work", () =>
    withPage(browser, { stations: [A, B] }, async (page) => {
      const focused = () => page.evaluate(() => {
        const e = document.activeElement;
        return `${e.closest("ul")?.id} ${e.closest("li")?.textContent} ${e.tagName} ${getComputedStyle(e).outlineStyle}`;
      });
      await page.click("#stations li:has-text('台A')");
      await waitForStatus(page, "播放中");
      assert.equal(await focused(), "stations ☆FM 90.0台A LI none");
      await page.keyboard.press("ArrowRight");
      await waitForListeners("city", 1);
      assert.equal(await focused(), "stations ☆FM 90.0台A LI none");
      await page.click("#stations li:has-text('台B') .star");
      assert.equal(await focused(), "stations ★FM 90.0台B BUTTON none");
      await page.keyboard.press("ArrowLeft");
      await waitForListeners("morning", 1);
      assert.match(await text(page, "#station-name"), /台A/);
      await page.click("#stop");
      assert.match(await focused(), / BUTTON none$/);
      await page.keyboard.press("Shift+Tab");
      assert.match(await focused(), / BUTTON dotted$/);
    }));

  test("a held arrow key steps through the stations and opens one stream, for the one it lands on", () =>
    withPage(browser, { stations: ["morning", "city", "river", "night"].map((id) => station(id, [`/${id}`])) }, async (page) => {
      for (let i = 0; i < 6; i++) await page.keyboard.down("ArrowRight");
      await page.waitForTimeout(300);
      assert.match(await text(page, "#station-name"), /^台city /);
      assert.deepEqual(page.requests.filter((url) => !url.startsWith("/sonbrel/")), [], "nothing opened while held");
      await page.keyboard.up("ArrowRight");
      await waitForStatus(page, "播放中");
      await waitForListeners("city", 1);
      assert.deepEqual(page.requests.filter((url) => !url.startsWith("/sonbrel/")), ["/city"]);
    }));

  // 100 more listeners on the page's mount, all on loopback and all ended by the test: Icecast
  // keeps serving every one of them live while the page plays on. Prints what it measured.
  test("with 100 more listeners on its mount the page plays on without a gap", (t) =>
    withPage(browser, { stations: [A] }, async (page) => {
      await page.click("#play");
      await waitForStatus(page, "播放中");
      const listeners = Array.from({ length: 100 }, () => {
        const listener = { bytes: 0 };
        listener.request = http.get(`${BASE}/morning`, { agent: false }, (response) => response.on("data", (c) => { listener.bytes += c.length; }));
        listener.request.on("error", () => {});
        return listener;
      });
      try {
        await waitForListeners("morning", 101);
        await waitFor(() => listeners.every((l) => l.bytes > 0), "every listener served");
        await page.evaluate(() => { window.statusLog.length = 0; });
        const before = listeners.map((l) => l.bytes);
        const played = await page.evaluate((ms) => new Promise((resolve) => {
          const audio = document.getElementById("audio"), start = performance.now(), from = audio.currentTime;
          let waiting = 0, last = from, moved = start, longest = 0;
          audio.addEventListener("waiting", () => waiting++);
          const timer = setInterval(() => {
            const now = performance.now();
            if (audio.currentTime > last) [longest, last, moved] = [Math.max(longest, now - moved), audio.currentTime, now];
            if (now - start < ms) return;
            clearInterval(timer);
            resolve({ wall: (now - start) / 1000, media: audio.currentTime - from, longest: Math.max(longest, now - moved), waiting });
          }, 50);
        }), 8000);
        const held = (await listenerIds("morning")).length - 1, least = Math.min(...listeners.map((l, i) => l.bytes - before[i]));
        const statuses = await statusSeen(page);
        t.diagnostic(`load: ${held} listeners held beside the page, the slowest got ${least} bytes in ${played.wall.toFixed(1)} s; ` +
          `the page played ${played.media.toFixed(2)} s of audio, longest pause ${Math.round(played.longest)} ms, ` +
          `${played.waiting} waiting events`);
        assert.equal(held, 100);
        // 32 kbit/s is 4000 bytes a second.
        assert.ok(least >= 0.8 * 4000 * played.wall, "every listener is served live");
        assert.ok(played.longest < 1000 && played.media >= 0.9 * played.wall, JSON.stringify(played));
        assert.deepEqual([statuses.filter((s) => s !== "播放中"), await text(page, "#status")], [[], "播放中"]);
      } finally {
        for (const listener of listeners) listener.request.destroy();
      }
      await waitForListeners("morning", 1);
    }));

  test("corrupt or foreign stored data is ignored", async () => {
    for (const value of ["{", "null", "[]", "\"text\"", '{"volume":"loud","muted":1,"history":[1,{}],"favourites":"A","last":5}',
      '{"volume":7,"history":["nobody"],"favourites":["nobody"]}', '{"volume":-1,"autoplay":"yes","last":"A"}']) {
      const init = `localStorage.setItem("sonbrel.player", ${JSON.stringify(value)});`;
      await withPage(browser, { stations: [A, B], init }, async (page) => assert.deepEqual([await volume(page),
        ...await page.$$eval("#status, #mute, #stations, #favourites", (all) => all.map((e) => e.textContent))],
        ["56px", "已停止", "静音", "测试☆FM 90.0台A☆FM 90.0台B", "点 ☆ 收藏电台"], value));
    }
  });
});
