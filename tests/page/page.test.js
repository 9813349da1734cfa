// The player against the real radio service; what the service sees comes from Icecast's admin.
"use strict";
const { test } = require("node:test"), assert = require("node:assert/strict"), http = require("node:http");
const service = require("../../tools/radio/radio.js");
const { radio, useRadio, withPage: openPage, startSource, admin, listenerIds,
  waitFor, waitForListeners, waitForStatus, checkBands } = require("./support");

useRadio();
const FAST = { reconnect: { delays: [0.2, 0.2], stallSeconds: 1.5, connectSeconds: 5 }, nowPlayingSeconds: 1 };
const withPage = ({ stations, settings, init }, body) => openPage({ file: { ...FAST, ...settings, stations }, init }, body);
const station = (id, urls, extra) => ({ id, name: `台${id}`, frequency: "FM 90.0", region: "测试", urls, ...extra });
const A = station("A", ["/morning"], { nowPlaying: { status: "/status-json.xsl", mount: "/morning" } }), B = station("B", ["/city"]);
const requestsOf = (page, path) => page.requests.filter((url) => url === path).length;
const statusSeen = (page) => page.evaluate(() => window.statusLog.filter((s, i, log) => s !== log[i - 1]));
// Buffered audio plays four times as fast, so that a stream cut off or stalled runs dry soon.
const fastPlayback = () => document.addEventListener("DOMContentLoaded", () => { document.getElementById("audio").defaultPlaybackRate = 4; });
const mediaTime = (page) => page.$eval("#audio", (a) => a.currentTime);
const text = (page, selector) => page.textContent(selector);

// A redraw under the focus must keep it on the same row or star, or the control's engine sends keys
// nowhere. A click leaves no focus ring, a key does.
test("the keys and the mouse work the player: a held arrow opens one stream, ▶ is a listener Icecast counts, ■ hangs up, ▶▶ " +
  "moves it, the focus stays through every redraw, and a reload finds what was set", () =>
  withPage({ stations: [A, B, station("C", ["/river"]), station("D", ["/night"])] }, async (page) => {
    const streams = () => page.requests.filter((url) => !url.startsWith("/sonbrel/"));
    for (let i = 0; i < 6; i++) await page.keyboard.down("ArrowRight");
    await page.waitForTimeout(300);
    assert.deepEqual([await text(page, "#station-name"), streams()], ["台B  FM 90.0", []], "nothing opened while held");
    await page.keyboard.up("ArrowRight");
    await waitForListeners("city", 1);
    assert.deepEqual(streams(), ["/city"]);
    const focused = () => page.evaluate((e = document.activeElement) =>
      `${e.closest("ul")?.id} ${e.closest("li")?.textContent} ${e.tagName} ${getComputedStyle(e).outlineStyle}`);
    await page.click("#stations li:has-text('台A')");
    const [first] = await waitForListeners("morning", 1).then(() => listenerIds("morning"));
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
    await page.evaluate(() => document.activeElement.blur());
    for (const [key, check] of [["Space", "已停止"], ["Space", "播放中"], ["ArrowUp"], ["m"], ["Space", "已停止"]]) {
      await page.keyboard.press(key);
      if (check) await waitForStatus(page, check);
    }
    await page.reload();
    await page.waitForSelector("#stations li.station").then(() => page.waitForTimeout(1000));  // not played
    const rows = await page.$$eval("#favourites li, #history li", (all) => all.map((r) => r.parentNode.id + r.textContent));
    assert.deepEqual([await page.$eval("#volume-level", (e) => e.style.width), await text(page, "#mute"),
      await text(page, "#station-name"), await text(page, "#status"), rows],
      ["63px", "取消", "台B  FM 90.0", "已停止", ["favouritesFM 90.0台B", "historyFM 90.0台B", "historyFM 90.0台A"]]);
    await page.check("#autoplay");
    await page.reload();
    await waitForStatus(page, "播放中");
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
    await waitForStatus(page, "重新连接…").finally(() => radio.sources.night.kill("SIGCONT"));
    await waitForStatus(page, "播放中");
    // At 4× a live stream keeps running dry, so plays on at 1× here: a watchdog that still fires
    // would reconnect, which starts the stream's time afresh and shows in the status.
    await page.$eval("#audio", (a) => { a.playbackRate = 1; window.statusLog.length = 0; });
    const from = await mediaTime(page);
    await waitFor(async () => (await mediaTime(page)) > from + 6, "6 s of audio after the stall", 20000);
    assert.deepEqual(await statusSeen(page), [], "no reconnect while playing on");
    await page.$eval("#audio", (a) => { a.playbackRate = 4; });
    await service.stop(radio.sources.night);
    await waitForStatus(page, "重新连接…");
    await startSource("night");
    await waitForStatus(page, "播放中");
    await waitForListeners("night", 1);
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
    assert.deepEqual([await statusSeen(page), requestsOf(page, "/nothing"), requestsOf(page, "/nothing.mp3"),
      await text(page, "#mini-status"), (await mini()) !== stoppedMini],
      [["连接中…", "重新连接…(1/2)", "重新连接…(2/2)", "连接失败"], before[0] + 3, before[1] + 3, "连接失败", true], selector);
    assert.match(await text(page, "#station-info"), /^无法连接：.+，按 ▶ 重试$/);
  }
  await checkBands(page, "failed");
}));

// 100 more loopback listeners on the page's mount; prints what it measured.
test("the song on the air is shown while playing, and only for a station that names its status; with 100 more listeners " +
  "on its mount the page plays on without a gap", (t) =>
  withPage({ stations: [A, B, station("C", ["/river"], { nowPlaying: { status: "/status-json.xsl", mount: "/gone" } })] }, async (page) => {
    const info = () => text(page, "#station-info");
    await page.click("#play");
    const shown = await waitFor(async () => /^♪ /.test(await info()) && (await info()).slice(2), "a title");
    const tracks = service.readTracks(`${__dirname}/../../station/streams/morning.tracks`).map((t) => `${t.artist} - ${t.title}`);
    assert.deepEqual([tracks.includes(shown), await text(page, "#mini-title")], [true, `台A · ${shown}`], shown);
    await admin(`metadata?mount=/morning&mode=updinfo&charset=UTF-8&song=${encodeURIComponent("晨光乐队 - 新歌：《早安》")}`);
    await waitFor(async () => (await info()) === "♪ 晨光乐队 - 新歌：《早安》", "the new title");
    const listeners = [], listen = () => new Promise((resolve) => listeners.push(
      http.get(`${radio.config.base}/morning`, { agent: false }, (response) => resolve(response.resume())).on("error", resolve)));
    try {
      // Icecast listens with a backlog of 5: a hundred connects in one instant would overflow it and
      // wait out the kernel's SYN retries (up to half a minute), so they arrive five at a time.
      for (let wave = 0; wave < 20; wave++) await Promise.all(Array.from({ length: 5 }, listen));
      // At least: a listener of an earlier test may not have been dropped yet.
      await waitFor(async () => (await listenerIds("morning")).length >= 101, "101 listeners on /morning", 30000);
      await page.evaluate(() => { window.statusLog.length = 0; });
      const from = await mediaTime(page), start = Date.now();
      await page.waitForTimeout(8000);
      const wall = (Date.now() - start) / 1000, media = (await mediaTime(page)) - from;
      t.diagnostic(`load: with 100 more listeners the page played ${media.toFixed(2)} s of audio in ${wall.toFixed(1)} s`);
      assert.deepEqual([media >= 0.9 * wall, (await statusSeen(page)).filter((s) => s !== "播放中")], [true, []]);
    } finally {
      for (const listener of listeners) listener.destroy();
    }
    await page.click("#stop");
    assert.equal(await info(), "测试 · FM 90.0");
    for (const row of ["台B", "台C"]) {  // B names no status, C one without its mount
      const polls = requestsOf(page, "/status-json.xsl");
      await page.click(`#stations li:has-text('${row}')`);
      await waitForStatus(page, "播放中");
      await page.waitForTimeout(2500);
      const polled = requestsOf(page, "/status-json.xsl") - polls;
      assert.deepEqual([await info(), await text(page, "#mini-title"), row === "台B" ? polled === 0 : polled >= 2],
        [`正在播放：测试 · ${row}`, row, true], `${row}, polled ${polled} times`);
    }
  }));
