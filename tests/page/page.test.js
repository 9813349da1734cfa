// The station page's browser tests, in one process so that they take turns with the server: the
// system's Chromium at the control's size, a station file of each test's own, the server's counts.
"use strict";
const { describe, test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { chromium } = require("playwright-core");
const { checkBands } = require("./bands");

const BASE = process.env.SONBREL_PAGE_BASE;  // the station server
const FAST = { reconnect: { delays: [0.2, 0.2], stallSeconds: 1.5, connectSeconds: 5 } };  // whole give-ups in seconds

// Runs `body` on a fresh page (own storage, status changes kept in window.statusLog) free of script
// errors. `stations` replace the station file, `settings` go over FAST, `init` runs first.
async function withPage(browser, { stations, settings, init }, body) {
  const page = await (await browser.newContext({ viewport: { width: 323, height: 574 } })).newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
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

const station = (id, urls, extra) => ({ id, name: `台${id}`, frequency: "FM 90.0", region: "测试", urls, ...extra });
const server = async () => (await fetch(`${BASE}/server/status`)).json();
const requests = async (path) => (await server()).requests[path] || 0;

// Polls the server: check(requests, open) gets the GETs so far and the connections open, per path.
async function waitForServer(check, what, timeoutMs = 10000) {
  let s;
  for (const end = Date.now() + timeoutMs; Date.now() < end; await new Promise((r) => setTimeout(r, 100))) {
    s = await server();
    if (check((path) => s.requests[path] || 0, (path) => s.open[path] || 0)) return;
  }
  assert.fail(`${what}; the server saw ${JSON.stringify(s)}`);
}

const waitForStatus = (page, text, timeout = 15000) =>
  page.waitForFunction((t) => document.getElementById("status").textContent.indexOf(t) === 0, text, { timeout });


describe("the player", () => {
  let browser;
  before(async () => { browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--autoplay-policy=no-user-gesture-required"] }); });
  after(() => browser.close());
  const A = station("A", ["/live/morning"], { nowPlaying: "/nowplaying/morning" }), B = station("B", ["/live/city"]);
  const text = (page, selector) => page.textContent(selector);
  const volume = (page) => page.$eval("#volume-level", (e) => e.style.width);

  test("▶ connects, ■ hangs up, ▶ connects afresh, ▶▶ hangs up before it plays the next", () =>
    withPage(browser, { stations: [A, B] }, async (page) => {
      const first = await requests("/live/morning");
      await page.click("#play");
      await waitForServer((requests, open) => open("/live/morning") === 1, "▶ opens the live stream");
      await page.click("#stop");
      await waitForServer((requests, open) => open("/live/morning") === 0, "■ hangs up");
      await page.click("#play");
      await waitForStatus(page, "播放中");
      assert.equal(await requests("/live/morning"), first + 2, "▶ after ■ connects afresh");
      await checkBands(page, "playing");
      await page.click("#next");
      await waitForServer((requests, open) => open("/live/city") === 1 && !open("/live/morning"), "▶▶ plays B alone");
    }));

  // A dropped stream is closed by the server, a stalled one stays open until the page hangs up.
  // Drops after good listening never use up the retries (2 here): each is a new incident.
  for (const [url, openAfter, connections] of [["/live/river?drop=10", 0, 4], ["/live/night?stall=10", 1, 2]]) {
    const init = () => document.addEventListener("DOMContentLoaded", () => { document.getElementById("audio").defaultPlaybackRate = 4; });
    test(`${url} is reconnected`, () => withPage(browser, { stations: [station("X", [url])], init }, async (page) => {
      const path = url.split("?")[0], first = await requests(path);
      await page.click("#play");
      for (const status of ["播放中", "重新连接…", "播放中"]) await waitForStatus(page, status);
      await waitForServer((requests, open) => requests(path) >= first + connections && open(path) <= openAfter,
        `${connections} connections, one after the other`, 20000);
      assert.ok(!(await page.evaluate(() => window.statusLog)).includes("连接失败"));
    }));
  }

  // Each address in turn in each of the 1 + 2 rounds, then failed until ▶, the mini toggle or the
  // row tries again. The longer last delay holds the reconnecting state up for the bands.
  test("a station whose addresses all fail ends failed, shows it, and is retried", () => withPage(browser,
    { stations: [station("X", ["/live/nothing", "/nothing.mp3"])], settings: { reconnect: { delays: [0.2, 2] } } }, async (page) => {
    const mini = () => page.$eval("#mini", (e) => getComputedStyle(e).backgroundColor), stoppedMini = await mini();
    for (const selector of ["#play", "#mini-toggle", "#stations li.station"]) {
      const before = [await requests("/live/nothing"), await requests("/nothing.mp3")];
      await page.evaluate(() => { window.statusLog.length = 0; });
      await page.click(selector);
      if (selector === "#play") await waitForStatus(page, "重新连接…(2/2)").then(() => checkBands(page, "reconnecting"));
      await waitForStatus(page, "连接失败");
      assert.deepEqual((await page.evaluate(() => window.statusLog)).filter((s, i, log) => s !== log[i - 1]).slice(-4),
        ["连接中…", "重新连接…(1/2)", "重新连接…(2/2)", "连接失败"], selector);
      assert.deepEqual([await requests("/live/nothing"), await requests("/nothing.mp3")], before.map((n) => n + 3), selector);
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
