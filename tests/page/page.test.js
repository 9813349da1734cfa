// The player against the real radio service; what the service sees comes from Icecast's status
// and admin.
"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const http = require("node:http");
const service = require("../../tools/radio/radio.js");
const { radio, useRadio, withPage: openPage, noStorage, startIcecast, startSource, stopSource, mounts, admin, listenerIds, onAir,
  waitFor, waitForListeners, checkBands } = require("./support");

useRadio();
const FAST = { reconnect: { delays: [0.2, 0.2], stallSeconds: 1.5, connectSeconds: 5 }, nowPlayingSeconds: 1 };
const withPage = ({ stations, settings, init }, body) => openPage({ file: { ...FAST, ...settings, stations }, init }, body);
const station = (id, urls, extra) => ({ id, name: `台${id}`, frequency: "FM 90.0", region: "测试", urls, ...extra });
const A = station("A", ["/morning"], { nowPlaying: { status: "/status-json.xsl", mount: "/morning" } }), B = station("B", ["/city"]);
const requestsOf = (page, path) => page.requests.filter((url) => url === path).length;
const waitForStatus = (page, text, timeout = 15000) =>
  page.waitForFunction((t) => document.getElementById("status").textContent.indexOf(t) === 0, text, { timeout });
const statusSeen = (page) => page.evaluate(() => window.statusLog.filter((s, i, log) => s !== log[i - 1]));
// Buffered audio plays four times as fast, so that a stream cut off or stalled runs dry soon.
const fastPlayback = () => document.addEventListener("DOMContentLoaded", () => { document.getElementById("audio").defaultPlaybackRate = 4; });
const mediaTime = (page) => page.$eval("#audio", (a) => a.currentTime);
const text = (page, selector) => page.textContent(selector);
const volume = (page) => page.$eval("#volume-level", (e) => e.style.width);

// A redraw under the focus must keep it on the same row or star, or the control's engine sends keys
// nowhere. A click leaves no focus ring, a key does.
test("▶ is a listener Icecast counts, ■ hangs up, ▶▶ moves it, and the focus stays through every redraw", () =>
  withPage({ stations: [A, B] }, async (page) => {
    const focused = () => page.evaluate(() => {
      const e = document.activeElement;
      return `${e.closest("ul")?.id} ${e.closest("li")?.textContent} ${e.tagName} ${getComputedStyle(e).outlineStyle}`;
    });
    await page.click("#stations li:has-text('台A')");
    await waitForListeners("morning", 1);
    const [first] = await listenerIds("morning");
    await page.click("#stop");
    await waitForListeners("morning", 0);
    assert.match(await focused(), / BUTTON none$/);
    await page.keyboard.press("Shift+Tab");
    assert.match(await focused(), / BUTTON dotted$/);
    await page.click("#stations li:has-text('台A')");
    await waitForStatus(page, "播放中");
    const [again] = await listenerIds("morning");
    assert.ok(again && again !== first, "▶ after ■ connects afresh");
    await checkBands(page, "playing");
    await page.keyboard.press("ArrowRight");
    await waitForListeners("city", 1);
    assert.equal(await focused(), "stations ☆FM 90.0台A LI none");
    await page.click("#stations li:has-text('台B') .star");
    assert.equal(await focused(), "stations ★FM 90.0台B BUTTON none");
    await page.keyboard.press("ArrowLeft");
    await waitForListeners("morning", 1);
    await page.click("#next");
    await waitForListeners("city", 1);
    await waitForListeners("morning", 0);
  }));

test("the song on the air is shown while playing, and only for a station that names its status", () =>
  withPage({ stations: [A, B, station("C", ["/river"], { nowPlaying: { status: "/status-json.xsl", mount: "/gone" } })] }, async (page) => {
    const info = () => text(page, "#station-info");
    await page.click("#play");
    const shown = await waitFor(async () => /^♪ /.test(await info()) && (await info()).slice(2), "a title");
    const tracks = service.readTracks(`${__dirname}/../../station/streams/morning.tracks`).map((t) => `${t.artist} - ${t.title}`);
    assert.ok(tracks.includes(shown) || shown === (await onAir("morning")).title, shown);
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

// More cuts than retries, each after good listening, so each a new incident. A silent source keeps
// its listeners connected: only the page's watchdog can notice.
test("a listener cut off by the server however often, by a stalled source or one off the air, plays again", () =>
  withPage({ stations: [station("X", ["/night"])], settings: { reconnect: { delays: [0.5, 1, 2, 4], stallSeconds: 1.5 } },
    init: fastPlayback }, async (page) => {
    await page.click("#play");
    for (let cut = 0; cut < 5; cut++) {
      await waitForStatus(page, "播放中");
      await waitFor(async () => (await mediaTime(page)) > 2, "good listening");
      await admin(`killclient?mount=/night&id=${(await listenerIds("night"))[0]}`);
      await waitForStatus(page, "重新连接…");
    }
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
    await stopSource("night");
    await waitForStatus(page, "重新连接…");
    await startSource("night");
    await waitForStatus(page, "播放中");
    await waitForListeners("night", 1);
  }));

test("with Icecast gone the page reconnects, fails with the reason, and ▶ plays once it is back", () =>
  withPage({ stations: [station("X", ["/city"])], init: fastPlayback }, async (page) => {
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
    await waitForListeners("city", 1);
  }));

// Each address in each of the 1 + 2 rounds; the longer last delay holds reconnecting up for the bands.
test("a station whose addresses all fail ends failed, shows it, and is retried", () => withPage(
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

for (const [where, init] of [["localStorage"], ["a cookie", noStorage]]) {
  test(`the keyboard works the player, and a reload finds what it set in ${where}`, () =>
    withPage({ stations: [A, B], init }, async (page) => {
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

test("a held arrow key steps through the stations and opens one stream, for the one it lands on", () =>
  withPage({ stations: ["morning", "city", "river", "night"].map((id) => station(id, [`/${id}`])) }, async (page) => {
    const streams = () => page.requests.filter((url) => !url.startsWith("/sonbrel/"));
    for (let i = 0; i < 6; i++) await page.keyboard.down("ArrowRight");
    await page.waitForTimeout(300);
    assert.match(await text(page, "#station-name"), /^台city /);
    assert.deepEqual(streams(), [], "nothing opened while held");
    await page.keyboard.up("ArrowRight");
    await waitForListeners("city", 1);
    assert.deepEqual(streams(), ["/city"]);
  }));

// 100 more loopback listeners on the page's mount; prints what it measured.
test("with 100 more listeners on its mount the page plays on without a gap", (t) =>
  withPage({ stations: [A] }, async (page) => {
    await page.click("#play");
    await waitForStatus(page, "播放中");
    const listeners = [];
    const listen = () => new Promise((resolve) => {
      const listener = { bytes: 0 };
      listeners.push(listener);
      listener.request = http.get(`${radio.config.base}/morning`, { agent: false }, (response) => {
        response.on("data", (c) => { listener.bytes += c.length; });
        resolve();
      }).on("error", resolve);
    });
    try {
      // Icecast listens with a backlog of 5: a hundred connects in one instant would overflow it and
      // wait out the kernel's SYN retries (up to half a minute), so they arrive five at a time.
      for (let wave = 0; wave < 20; wave++) await Promise.all(Array.from({ length: 5 }, listen));
      // At least: a listener of an earlier test may not have been dropped yet.
      await waitFor(async () => (await listenerIds("morning")).length >= 101, "101 listeners on /morning", 30000);
      await page.evaluate(() => { window.statusLog.length = 0; });
      const before = listeners.map((l) => l.bytes), from = await mediaTime(page), start = Date.now();
      await page.waitForTimeout(8000);
      const wall = (Date.now() - start) / 1000, media = (await mediaTime(page)) - from;
      const least = Math.min(...listeners.map((l, i) => l.bytes - before[i]));
      t.diagnostic(`load: the slowest of 100 listeners got ${least} bytes in ${wall.toFixed(1)} s; the page played ${media.toFixed(2)} s`);
      assert.ok(least >= 0.8 * 4000 * wall, "every listener is served live at 32 kbit/s");
      assert.ok(media >= 0.9 * wall, `${media} s of audio in ${wall} s`);
      assert.deepEqual((await statusSeen(page)).filter((s) => s !== "播放中"), []);
    } finally {
      for (const listener of listeners) listener.request.destroy();
    }
    await waitForListeners("morning", 1);
  }));

test("corrupt or foreign stored data is ignored", async () => {
  for (const value of ["{", "null", "[]", "\"text\"", '{"volume":"loud","muted":1,"history":[1,{}],"favourites":"A","last":5}',
    '{"volume":7,"history":["nobody"],"favourites":["nobody"]}', '{"volume":-1,"autoplay":"yes","last":"A"}']) {
    const init = `localStorage.setItem("sonbrel.player", ${JSON.stringify(value)});`;
    await withPage({ stations: [A, B], init }, async (page) => assert.deepEqual([await volume(page),
      ...await page.$$eval("#status, #mute, #stations, #favourites", (all) => all.map((e) => e.textContent))],
      ["56px", "已停止", "静音", "测试☆FM 90.0台A☆FM 90.0台B", "点 ☆ 收藏电台"], value));
  }
});
