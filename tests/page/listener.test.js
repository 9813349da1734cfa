// The listener's tools on the station page: the sleep timer, stations of one's own and the filter.
"use strict";
const { test } = require("node:test"), assert = require("node:assert/strict");
const { radio, useRadio, withPage: openPage, noStorage, listenerIds, waitForListeners, checkBands } = require("./support");

useRadio();
const station = (id, frequency, region) => ({ id, name: `台${id}`, frequency, region, urls: [`/${id}`] });
const STATIONS = [station("morning", "FM 97.4", "Harlune"), station("city", "FM 105.2", "Harlune"),
  station("river", "FM 101.8", "临江"), station("night", "AM 972", "北原")];
const SLOW = { reconnect: { delays: [0.2, 0.2], stallSeconds: 300, connectSeconds: 300 } };
const withPage = (options, body) => openPage({ file: { ...SLOW, stations: STATIONS }, ...options }, body);
const texts = (page, selector) => page.$$eval(selector, (all) => all.filter((e) => e.offsetHeight).map((e) => e.textContent));
const sleepShown = (page) => page.$$eval("#sleep-left, #mini-sleep, #sleep", (all) => all.map((e) => e.value || e.textContent));
const reload = (page) => page.reload().then(() => page.waitForSelector("#stations li.station"));

// Only the minutes shown change, so only they may wake the page.
test("the sleep timer wakes the page once a minute; when it runs out it stops the stream as ■ does, across ■, ▶ and a station " +
  "change, and a reload forgets it", () => withPage({ clock: true }, async (page) => {
  await page.evaluate(() => {
    const wakes = (window.wakes = []), shown = (window.shown = []), left = document.getElementById("sleep-left");
    for (const name of ["setTimeout", "setInterval"]) {
      window[name] = ((original) => function (f, ms) { wakes.push([name, ms]); return original.apply(this, arguments); })(window[name]);
    }
    new MutationObserver(() => shown.push(left.textContent)).observe(left, { childList: true });
  });
  await page.selectOption("#sleep", "90");
  await page.clock.runFor("30:00");
  await page.selectOption("#sleep", "15");  // a new choice replaces the old timer
  await page.clock.runFor("15:00");
  const { wakes, shown } = await page.evaluate(() => ({ wakes: window.wakes, shown: window.shown }));
  const minutes = (from) => Array.from({ length: from }, (_, i) => `还剩 ${from - i} 分钟`);
  assert.deepEqual(shown, [...minutes(90).slice(0, 31), ...minutes(15), ""]);
  assert.ok(wakes.every(([name, ms]) => name === "setTimeout" && ms <= 60000) && wakes.length <= shown.length, JSON.stringify(wakes));
  await page.focus("#sleep");
  await page.keyboard.press("ArrowDown");  // 15 minutes
  assert.deepEqual(await sleepShown(page), ["15", "还剩 15 分钟", "☾ 15"]);
  for (const button of ["#play", "#stop", "#play", "#next"]) await page.click(button);
  await waitForListeners("city", 1);
  await page.clock.fastForward("15:01");
  await waitForListeners("city", 0);
  await page.waitForTimeout(1000).then(async () => assert.deepEqual(await listenerIds("city"), [], "nothing reconnects"));
  assert.deepEqual([...await texts(page, "#status, #mini-status"), ...await sleepShown(page)], ["已定时关闭", "已定时关闭", "0", "", ""]);
  await page.click("#play");
  await waitForListeners("city", 1);
  await page.selectOption("#sleep", "30");
  await reload(page);
  assert.deepEqual(await sleepShown(page), ["0", "", ""]);
}));

const add = async (page, name, url) => {
  if (!(await page.isVisible("#add-form"))) await page.click("#add");
  await page.fill("#add-name", name).then(() => page.fill("#add-url", url)).then(() => page.press("#add-url", "Enter"));
};
const mineRows = (page) => texts(page, "#stations li.station:has(.remove)");

test("every bad input gets its message beside its field and nothing is saved", () => withPage({}, async (page) => {
  const long = `http://example.org/${"a".repeat(1981)}`;
  const badUrls = [["ftp://example.org/a", /http:\/\/ 或 https:\/\//], ["example.org/a", /http:\/\/ 或 https:\/\//], ["http://", /主机名/],
    ["javascript:alert(1)", /不能使用 javascript:/], [" JavaScript:alert(1)//http://x", /不能使用 javascript:/],
    ["java\tscript:alert(1)", /不能使用 javascript:/], ["data:audio/mpeg;base64,AAAA", /不能使用 data:/], ["http://example.org/a b", /空格/],
    [`${long}b`, /最长 2000 个字符，现在是 2001 个/], [`${radio.config.base}/morning`, /已在列表中：台morning/]];
  for (const [name, url, nameError, urlError] of [["", "http://example.org/a", /请填写电台名称/, /^$/],
    ["  \u3000 ", "", /请填写电台名称/, /请填写播放地址/], ["长".repeat(41), "http://example.org/a", /最多 40 个字，现在是 41 个/, /^$/],
    ["😀".repeat(41), "http://example.org/a", /现在是 41 个/, /^$/], ...badUrls.map(([url, error]) => ["好台", url, /^$/, error])]) {
    await add(page, name, url);
    const shown = await page.$$eval("#add-name-error, #add-url-error", (all) => all.map((e) => e.textContent));
    assert.ok(nameError.test(shown[0]) && urlError.test(shown[1]), `${name} ${url}: ${shown}`);
    assert.deepEqual([await page.evaluate(() => localStorage.getItem("sonbrel.mine")), await mineRows(page)], [null, []], `${name} ${url}`);
  }
  await checkBands(page, "adding");
  await add(page, "长".repeat(40), long);  // both at their limits
  assert.deepEqual(await mineRows(page), [`☆✕${"长".repeat(40)}`]);
}));

// In a cookie, of about 4 kB: the second long address does not fit, and the listener is told.
test("an own station plays, one that cannot be stored is not listed, and they stay after a reload until removed by keyboard", () =>
  withPage({ init: noStorage }, async (page) => {
    await add(page, "我的晨光", `${radio.config.base}/river?mine`);
    assert.equal(await page.evaluate(() => document.activeElement.textContent), "☆✕我的晨光");
    await page.keyboard.press("Enter");
    await waitForListeners("river", 1);
    await page.click("#stop");
    for (const n of [1, 2]) await add(page, `长${n}`, `http://example.org/${n}${"a".repeat(1980)}`);
    assert.deepEqual([await page.textContent("#add-error"), await mineRows(page)], ["无法保存：浏览器的存储空间不足", ["☆✕我的晨光", "☆✕长1"]]);
    await reload(page);
    assert.deepEqual([await texts(page, "#stations li.region"), await mineRows(page)], [["Harlune", "临江", "北原", "我的电台"], ["☆✕我的晨光", "☆✕长1"]]);
    await page.focus("#stations li:has-text('我的晨光')");
    for (const key of ["Tab", "Tab", "Enter"]) await page.keyboard.press(key);
    assert.equal(await page.textContent("#station-name"), "Harlune网络FM");  // it was the current one
    await reload(page);
    assert.deepEqual(await mineRows(page), ["☆✕长1"]);
  }));

test("corrupt or foreign stored data is ignored: of own stations the good ones are kept, at most 50", async () => {
  const good = (n) => ({ id: `my:${n}`, name: `我的${n}`, url: `http://example.org/${n}` });
  const mine = [["{", []], ["{}", []], ["[1, null, \"x\"]", []], [JSON.stringify([good(1), null, { ...good(2), id: 5 },
    { ...good(3), name: "" }, { ...good(4), url: "javascript:1" }, { ...good(5), url: good(1).url }, { ...good(6), id: "my:1" },
    { ...good(7), name: "x".repeat(41) }, { ...good(8), url: `http://example.org/${"a".repeat(2000)}` }, { ...good(9), id: "evil id" },
    good(10)]), ["我的1", "我的10"]]];
  for (const [i, player] of ["{", "null", "[]", "\"text\"", '{"volume":"loud","muted":1,"history":[1,{}],"favourites":"city","last":5}',
    '{"volume":7,"history":["nobody"],"favourites":["nobody"]}', '{"volume":-1,"autoplay":"yes","last":"city"}'].entries()) {
    const [own, expected] = mine[i] || ["[]", []];
    const init = `localStorage.setItem("sonbrel.player", ${JSON.stringify(player)});
      localStorage.setItem("sonbrel.mine", ${JSON.stringify(own)});`;
    await withPage({ init }, async (page) => assert.deepEqual([await page.$eval("#volume-level", (e) => e.style.width),
      await mineRows(page), await texts(page, "#stations .star, #status, #mute, #favourites, #history")],
      ["56px", expected.map((name) => `☆✕${name}`), ["已停止", "静音", ...[...STATIONS, ...expected].map(() => "☆"), "点 ☆ 收藏电台",
        "播放过的电台会出现在这里"]], player));
  }
  const many = Array.from({ length: 60 }, (_, i) => good(i));
  await withPage({ init: `localStorage.setItem("sonbrel.mine", ${JSON.stringify(JSON.stringify(many))});` }, async (page) => {
    assert.equal((await mineRows(page)).length, 50);
    await add(page, "再一个", "http://example.org/more");
    assert.deepEqual([await page.textContent("#add-error"), (await mineRows(page)).length,
      await page.evaluate(() => localStorage.getItem("sonbrel.mine"))], ["最多只能添加 50 个电台，请先删除一些", 50, JSON.stringify(many)]);
  });
});

test("the station filter matches name, frequency or region in either width and case, and the keys work on what it leaves", () =>
  withPage({}, async (page) => {
    const shown = () => texts(page, "#stations li");
    const focused = () => page.evaluate(() => document.activeElement.id || document.activeElement.textContent);
    const morning = ["Harlune", "☆FM 97.4台morning"];
    for (const [query, expected] of [["fm 97", morning], ["ＦＭ９７", morning], ["Fm97.", morning], ["临江", ["临江", "☆FM 101.8台river"]],
      ["台 97", [...morning, "北原", "☆AM 972台night"]], ["harlune 105", ["Harlune", "☆FM 105.2台city"]], ["z", ["没有找到匹配的电台"]]]) {
      await page.fill("#search", query);
      assert.deepEqual(await shown(), expected, query);
    }
    await page.selectOption("#sleep", "60");
    await checkBands(page, "filtered with a timer");
    await page.fill("#search", "9");  // morning and night, not the two between them
    await page.keyboard.press("m");  // typed, not muting
    assert.equal(await page.textContent("#mute"), "静音");
    await page.fill("#search", "9");
    for (const [key, expected] of [["ArrowDown", "☆FM 97.4台morning"], ["ArrowDown", "☆AM 972台night"],
      ["ArrowDown", "☆AM 972台night"], ["ArrowUp", "☆FM 97.4台morning"], ["ArrowUp", "search"]]) {
      await page.keyboard.press(key);
      assert.equal(await focused(), expected, key);
    }
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => document.getElementById("station-name").textContent.indexOf("台morning") === 0);
    await page.click("#next");  // steps within what is shown
    await page.waitForFunction(() => document.getElementById("station-name").textContent.indexOf("台night") === 0);
    assert.equal((await shown()).length, 4, "the redrawn list keeps the filter");
    await page.focus("#stations li.station");
    await page.keyboard.press("Escape");
    assert.deepEqual([await page.inputValue("#search"), await focused(), (await shown()).length], ["", "search", 7]);
  }));
